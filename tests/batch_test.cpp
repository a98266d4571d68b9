#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "run/batch_run.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

const fs::path kFullExport = fs::path(K2V_TEST_DATA_DIR) / "stages_full" / "source";

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(BatchDiscovery, FindsEveryNonEmptyX1InAnyCaseAndAtAnyDepthWithoutFollowingLinks) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links are a POSIX test here: on Windows making one needs a privilege";
#endif
  test::TempDir root;
  const fs::path site = root / "site";
  test::WriteSjis(site / "x1.txt", "1,1.00,0,砂\r\n");
  test::WriteSjis(site / "K1" / "X1.TXT", "1,1.00,0,砂\r\n");
  test::WriteSjis(site / "north" / "deep" / "K2" / "x1.Txt", "1,1.00,0,砂\r\n");
  test::WriteBytes(site / "north" / "empty" / "X1.TXT", "");
  test::WriteSjis(site / "north" / "other" / "X4.TXT", "1,1.00\r\n");
  fs::create_directory_symlink(site / "K1", site / "north" / "alias");
  // A boring in the trash, or any hidden folder, is not the user's to convert.
  test::WriteSjis(site / ".Trash-1000" / "files" / "B01" / "x1.txt", "1,1.00,0,砂\r\n");
  test::WriteSjis(site / "north" / ".snapshot" / "X1.TXT", "1,1.00,0,砂\r\n");

  std::vector<BatchBoring> borings = FindBorings(site.string(), "/out");
  std::vector<std::string> found;
  for (const BatchBoring& b : borings) found.push_back(b.relativePath);
  EXPECT_EQ(found, (std::vector<std::string>{".", "K1", test::Native("north/deep/K2")}));
  EXPECT_EQ(borings[0].source, site.string());
  EXPECT_EQ(borings[0].destination, "/out");
  EXPECT_EQ(borings[2].source, (site / "north" / "deep" / "K2").string());
  EXPECT_EQ(borings[2].destination, "/out/north/deep/K2");
}

class BatchCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(system); }

  int Batch(std::vector<std::string> args) {
    args.insert(args.begin(), {K2V_CLI_PATH, "--batch", "--system-dir", system.string()});
    return test::RunCommand(args, out, err);
  }
  int Single(const fs::path& source, const fs::path& destination) {
    return test::RunCommand(
        {K2V_CLI_PATH, "--yes", "--system-dir", system.string(), source.string(), destination.string()}, out, err);
  }
  // A copy of the full export (layers, tables, titles, files taken over).
  void FullExport(const fs::path& folder) const {
    fs::create_directories(folder.parent_path());
    fs::copy(kFullExport, folder);
  }
  std::string Report() const { return test::ReadBytes(dest / "kolbrix2vantor-report.csv"); }

  test::TempDir root;
  fs::path site = root / "site";
  fs::path dest = root / "out";
  fs::path system = root / "system";
  std::string out, err;
};

TEST_F(BatchCommandTest, EachBoringConvertsAsItsSingleRunWhileAnotherFailsAndAnotherIsRefused) {
#ifdef _WIN32
  GTEST_SKIP() << "needs a folder named D? (a wild card), which Windows cannot hold";
#endif
  FullExport(site / "A");
  FullExport(site / "north" / "B");
  test::WriteSjis(site / "north" / "C" / "x1.txt", "1,1.00,0,砂\r\n");
  // The path check refuses a wild card in the source path.
  test::WriteSjis(site / "north" / "D?" / "X1.TXT", "1,1.00,0,砂\r\n");
  // A file where the destination folder of south/E has to be made.
  test::WriteSjis(site / "south" / "E" / "X1.TXT", "1,1.00,0,砂\r\n");
  test::WriteBytes(dest / "south" / "E", "in the way");

  EXPECT_EQ(Batch({"--yes", "--jobs", "3", site.string(), dest.string()}), 3) << out << err;
  EXPECT_TRUE(Contains(out,
                       "Converted:               1\n"
                       "Converted with warnings: 2\n"
                       "Refused:                 1\n"
                       "Failed:                  1\n"))
      << out;
  EXPECT_TRUE(Contains(out, "  north/D?: refused\n      指定されたパスは正しくありません。\n")) << out;
  EXPECT_TRUE(Contains(out, "  south/E: failed\n      ファイルの処理に失敗しました。\n      " +
                                (dest / "south" / "E").string()))
      << out;
  // Without a terminal: one line per boring as it finishes.
  for (const char* line : {"] A: converted with warnings\n", "] north/B: converted with warnings\n",
                           "] north/C: converted\n", "] north/D?: refused\n", "] south/E: failed\n"}) {
    EXPECT_TRUE(Contains(err, line)) << line << err;
  }
  EXPECT_FALSE(fs::exists(dest / "north" / "D?"));

  const std::vector<std::string> converted = {"A", "north/B", "north/C"};
  std::vector<std::vector<std::pair<std::string, std::string>>> batch;
  for (const std::string& b : converted) batch.push_back(test::Snapshot(dest / b));
  fs::remove_all(dest);
  for (size_t k = 0; k < converted.size(); ++k) {
    ASSERT_EQ(Single(site / converted[k], dest / converted[k]), 0) << err;
    EXPECT_EQ(test::Snapshot(dest / converted[k]), batch[k]) << converted[k];
  }
}

TEST_F(BatchCommandTest, ReportHasOneRowPerBoringWithLayersAndThoseWithoutASoilCode) {
#ifdef _WIN32
  GTEST_SKIP() << "needs a folder name with \" and ?, which Windows cannot hold";
#endif
  // 表土 has the code 000; 未知の土 and the second part of the alternating
  // layers (粘土, in no table) found none.
  test::WriteSjis(site / "K1" / "X1.TXT",
                  "1,1.00,0,表土\r\n2,2.00,0,砂\r\n3,3.00,0,未知の土\r\n4,4.00,0,砂と粘土の互層\r\n");
  test::WriteSjis(site / "K\"2?" / "X1.TXT", "1,1.00,0,砂\r\n");

  EXPECT_EQ(Batch({"--yes", site.string(), dest.string()}), 1) << out << err;
  EXPECT_EQ(Report(),
            "\xEF\xBB\xBF"
            "boring,result,message,layers,layers without soil code\r\n"
            "\"K\"\"2?\",refused,\"指定されたパスは正しくありません。\",,\r\n"
            "\"K1\",converted,\"変換が正常に終了しました。\",4,2\r\n");
  EXPECT_TRUE(Contains(out, "  K1: converted, 2 of 4 layers without a soil code\n")) << out;
}

TEST_F(BatchCommandTest, SoilNamesWithoutACodeAreListedMostLayersFirstForTheBatchAndASingleRun) {
  // Layer names as real boring logs write them. 表土 and the alternating
  // parts' 砂 have codes, and 混じり is taken like 混り; 礫質土 loses its
  // quality word 礫質 and leaves 土 to look up.
  const std::vector<std::pair<std::string, std::string>> borings = {
      {"K1",
       "1,0.50,0,表土\r\n2,2.30,0,礫質土\r\n3,4.10,0,粘土\r\n4,6.00,0,シルト混じり砂礫\r\n"
       "5,8.50,0,頁岩\r\n6,10.00,0,泥岩と頁岩の互層\r\n7,12.00,0,頁岩と砂の互層\r\n"},
      {"K2", "1,1.00,0,盛土\r\n2,3.20,0,粘土\r\n3,5.00,0,礫質土\r\n4,7.40,0,頁岩\r\n"},
      {"K3", "1,2.00,0,崖錐堆積物\r\n2,4.00,0,頁岩\r\n"},
      {"K4", "1,1.50,0,頁岩\r\n"},
  };
  for (const auto& [name, layers] : borings) {
    FullExport(site / name);
    test::WriteSjis(site / name / "X1.TXT", layers);
  }
  EXPECT_EQ(Batch({"--yes", site.string(), dest.string()}), 0) << out << err;
  EXPECT_EQ(test::ReadBytes(dest / "kolbrix2vantor-uncoded.csv"),
            "\xEF\xBB\xBF"
            "soil name,looked up,layers,borings\r\n"
            "\"頁岩\",\"頁岩\",6,\"K1 | K2 | K3\"\r\n"
            "\"礫質土\",\"土\",2,\"K1 | K2\"\r\n"
            "\"粘土\",\"粘土\",2,\"K1 | K2\"\r\n"
            "\"泥岩\",\"泥岩\",1,\"K1\"\r\n"
            "\"盛土\",\"盛土\",1,\"K2\"\r\n"
            "\"崖錐堆積物\",\"崖錐堆積物\",1,\"K3\"\r\n");
  EXPECT_TRUE(Contains(out, "Soil names without a code: " + (dest / "kolbrix2vantor-uncoded.csv").string() + "\n"))
      << out;

  // A single run writes the list only when asked, and says nothing more.
  const std::string list = (root / "K1-uncoded.csv").string();
  const int status = Single(site / "K1", dest / "K1");
  const std::string outWithout = out, errWithout = err;
  EXPECT_EQ(test::RunCommand({K2V_CLI_PATH, "--yes", "--system-dir", system.string(), "--uncoded", list,
                              (site / "K1").string(), (dest / "K1").string()},
                             out, err),
            status);
  EXPECT_EQ(out, outWithout);
  EXPECT_EQ(err, errWithout);
  const std::string k1 = "\"" + (site / "K1").string() + "\"";
  EXPECT_EQ(test::ReadBytes(list),
            "\xEF\xBB\xBF"
            "soil name,looked up,layers,borings\r\n"
            "\"頁岩\",\"頁岩\",3," +
                k1 +
                "\r\n"
                "\"礫質土\",\"土\",1," +
                k1 +
                "\r\n"
                "\"粘土\",\"粘土\",1," +
                k1 +
                "\r\n"
                "\"泥岩\",\"泥岩\",1," +
                k1 + "\r\n");
}

TEST_F(BatchCommandTest, FolderQuestionIsAskedOnceForAllAndWarningsAloneExitWithZero) {
  FullExport(site / "K1");
  FullExport(site / "K2");
  // No terminal and no --yes: the answer is No, every run is refused and
  // nothing is created.
  EXPECT_EQ(Batch({site.string(), dest.string()}), 1);
  EXPECT_TRUE(Contains(err, "3 destination folders are missing:\n  " + dest.string() + "\n"));
  EXPECT_EQ(err.find("新規作成しますか？"), err.rfind("新規作成しますか？")) << err;
  EXPECT_TRUE(Contains(err, "新規作成しますか？ n\nkolbrix2vantor: those folders do not exist; --yes creates them\n"))
      << err;
  EXPECT_FALSE(fs::exists(dest));
  // Without Radudi32.ini the X6 records are not converted: a warning.
  EXPECT_EQ(Batch({"--yes", site.string(), dest.string()}), 0) << out << err;
  EXPECT_TRUE(Contains(out, "Converted with warnings: 2\n")) << out;
  EXPECT_TRUE(Contains(Report(), "\"K2\",converted with warnings,\"変換は終了しましたが、")) << Report();
}

TEST_F(BatchCommandTest, OverlappingRootsAreRefusedBeforeAnythingIsWritten) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links are a POSIX test here: on Windows making one needs a privilege";
#endif
  FullExport(site / "K1");
  fs::create_directory_symlink(site, root / "alias");
  const std::vector<std::pair<fs::path, fs::path>> overlapping = {
      {site, site / "out"}, {site / "K1", site}, {site, site}, {site, root / "alias" / "out"}};
  const auto before = test::Snapshot(root.path());
  for (const auto& [source, destination] : overlapping) {
    EXPECT_EQ(Batch({"--yes", source.string(), destination.string()}), 1) << destination;
    EXPECT_TRUE(Contains(err, source.string()) && Contains(err, destination.string())) << err;
  }
  EXPECT_EQ(test::Snapshot(root.path()), before);
}

TEST_F(BatchCommandTest, LinksInTheDestinationTreeNeverLeadIntoASourceOrAnotherBoring) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links are a POSIX test here: on Windows making one needs a privilege";
#endif
  for (const char* b : {"b1", "B01", "B02", "K1"}) FullExport(site / b);
  fs::create_directories(dest / "B01");
  // b1 leads into the source tree, B02 to B01's destination, and the report
  // name to a source file.
  fs::create_directory_symlink(site, dest / "b1");
  fs::create_directory_symlink(dest / "B01", dest / "B02");
  fs::create_symlink(site / "K1" / "X1.TXT", dest / "kolbrix2vantor-report.csv");
  const auto sourceBefore = test::Snapshot(site);

  EXPECT_EQ(Batch({"--yes", site.string(), dest.string()}), 1) << out << err;
  EXPECT_EQ(test::Snapshot(site), sourceBefore);
  EXPECT_TRUE(Contains(out, "Converted with warnings: 1\nRefused:                 3\n")) << out;
  EXPECT_TRUE(Contains(out, "  b1: refused\n      変換先ﾌｫﾙﾀﾞが変換元ﾌｫﾙﾀﾞの中にあります。\n      " +
                                (dest / "b1").string() + " -> " + site.string() + "\n      " + site.string() + "\n"))
      << out;
  EXPECT_TRUE(Contains(out, "  B01: refused\n      変換先ﾌｫﾙﾀﾞが別のボーリングの変換先と同じです。\n      " +
                                (dest / "B01").string() + "\n      " + (dest / "B02").string() + "\n"))
      << out;
  EXPECT_TRUE(Contains(out, "  B02: refused\n      変換先ﾌｫﾙﾀﾞが別のボーリングの変換先と同じです。\n      " +
                                (dest / "B02").string() + "\n      " + (dest / "B01").string() + "\n"))
      << out;
  EXPECT_TRUE(fs::is_empty(dest / "B01"));
  // The report replaced the link.
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dest / "kolbrix2vantor-report.csv")));
  EXPECT_TRUE(Contains(Report(), "\"K1\",converted with warnings,")) << Report();
}

TEST(BatchReport, FailedWriteKeepsTheEarlierReport) {
  test::TempDir root;
  test::WriteBytes(root / "kolbrix2vantor-report.csv", "the earlier report\r\n");
  BoringResult converted;
  converted.relativePath = "K1";
  converted.outcome = BoringOutcome::Converted;
  SetFaultHook([](FileOperation op, const std::string&) { return op == FileOperation::Write ? ENOSPC : 0; });
  EXPECT_THROW(WriteBatchReport(root.path().string(), {converted}), FileError);
  SetFaultHook(nullptr);
  EXPECT_EQ(test::Snapshot(root.path()), (std::vector<std::pair<std::string, std::string>>{
                                             {"kolbrix2vantor-report.csv", "the earlier report\r\n"}}));
  EXPECT_EQ(WriteBatchReport(root.path().string(), {converted}), (root / "kolbrix2vantor-report.csv").string());
  EXPECT_TRUE(Contains(test::ReadBytes(root / "kolbrix2vantor-report.csv"), "\"K1\",converted,"));
}

TEST_F(BatchCommandTest, AReportThatCannotBeWrittenIsToldOnItsOwnLineAndExitsWithThree) {
  FullExport(site / "K1");
  // A folder of the user's under the report's name: it cannot be replaced.
  test::WriteBytes(dest / "kolbrix2vantor-report.csv" / "mine.txt", "mine");
  EXPECT_EQ(Batch({"--yes", site.string(), dest.string()}), 3) << out << err;
  EXPECT_TRUE(Contains(out, "\nNo report: " + (dest / "kolbrix2vantor-report.csv").string())) << out;
  EXPECT_FALSE(Contains(out, "Report: No report")) << out;
  EXPECT_TRUE(Contains(out, "\nSoil names without a code: ")) << out;
  EXPECT_EQ(test::ReadBytes(dest / "kolbrix2vantor-report.csv" / "mine.txt"), "mine");
}

TEST_F(BatchCommandTest, WrongUsageExitsWithTwoAndNoBoringIsARefusal) {
  EXPECT_EQ(Batch({}), 2);
  EXPECT_TRUE(Contains(err, "Usage: kolbrix2vantor --batch")) << err;
  EXPECT_EQ(Batch({"--jobs", "0", site.string(), dest.string()}), 2);
  EXPECT_EQ(Batch({"--frobnicate", site.string(), dest.string()}), 2);
  fs::create_directories(site / "empty");
  test::WriteBytes(site / "empty" / "x1.txt", "");
  EXPECT_EQ(Batch({"--yes", site.string(), dest.string()}), 1);
  EXPECT_FALSE(fs::exists(dest));
}

}  // namespace
}  // namespace k2v
