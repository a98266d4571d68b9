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

  // The command line's own texts in English unless a test asks for Japanese.
  test::ScopedMessageLanguage english{"C"};
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
            "ボーリング,結果,メッセージ,層数,土質コードのない層数\r\n"
            "\"K\"\"2?\",変換せず,\"指定されたパスは正しくありません。\",,\r\n"
            "\"K1\",変換済み,\"変換が正常に終了しました。\",4,2\r\n");
  EXPECT_TRUE(Contains(out, "  K1: converted, 2 of 4 layers without a soil code\n")) << out;
}

TEST_F(BatchCommandTest, EveryLayerWithoutAMainSoilCodeIsListedWithWhatGivesItOne) {
  // Layer names as real boring logs write them, with no G10A.TXT: 表土 has
  // its code; 砂質粘土 gets only its quality code; 礫質土 and 礫混り土 leave
  // 土 to look up; 砂岩頁岩互層 (no と) has two empty parts, 砂と粘土互層 (no
  // の) an empty second part; 泥岩と頁岩の互層 is one layer with two names.
  const std::vector<std::pair<std::string, std::string>> borings = {
      {"K1",
       "1,0.50,0,表土\r\n2,2.30,0,礫質土\r\n3,4.10,0,粘土\r\n4,5.00,0,砂質粘土\r\n5,6.20,0,岩盤\r\n"
       "6,7.00,0,砂岩頁岩互層\r\n7,8.00,0,砂と粘土互層\r\n8,9.00,0,礫混り土\r\n9,10.00,0,泥岩と頁岩の互層\r\n"},
      {"K2", "1,1.00,0,盛土\r\n2,3.20,0,粘土\r\n3,5.00,0,礫質土\r\n4,7.40,0,岩盤\r\n"},
  };
  for (const auto& [name, layers] : borings) {
    FullExport(site / name);
    test::WriteSjis(site / name / "X1.TXT", layers);
  }
  EXPECT_EQ(Batch({"--yes", site.string(), dest.string()}), 0) << out << err;
  const std::string quality =
      "主たる土質名の「質」までが外されて照合されるため、Kolbrix で「質」を含まない土質名に書き直します。";
  const std::string alternating = "Kolbrix で「砂と粘土の互層」のように「と」と「の」で区切って書き直します。";
  EXPECT_EQ(
      test::ReadBytes(dest / "kolbrix2vantor-uncoded.csv"),
      "\xEF\xBB\xBF"
      "土質名（記載のまま）,照合した語,層数,ボーリング数,ボーリング（先頭 3 本）,対処\r\n"
      "\"礫質土\",\"土\",2,2,\"K1 | K2\",\"" +
          quality +
          "\"\r\n"
          "\"粘土\",\"粘土\",2,2,\"K1 | K2\",\"G10A.TXT に「600,,粘土,」の行を追加します。\"\r\n"
          "\"岩盤\",\"岩盤\",2,2,\"K1 | K2\",\"Vantor の土質コードを決めて、G10A.TXT に「コード,,岩盤,」の行を追加します。\"\r\n"
          "\"砂質粘土\",\"粘土\",1,1,\"K1\",\"G10A.TXT に「600,,粘土,」の行を追加します。\"\r\n"
          "\"砂岩頁岩互層\",\"\",1,1,\"K1\",\"" +
          alternating +
          "\"\r\n"
          "\"砂と粘土互層\",\"\",1,1,\"K1\",\"" +
          alternating +
          "\"\r\n"
          "\"礫混り土\",\"土\",1,1,\"K1\",\"照合する主たる土質名が残らないため、Kolbrix で土質名を書き直します。\"\r\n"
          "\"泥岩\",\"泥岩\",1,1,\"K1\",\"G10A.TXT に「93,,泥岩,」の行を追加します。\"\r\n"
          "\"頁岩\",\"頁岩\",1,1,\"K1\",\"G10A.TXT に「92,,頁岩,」の行を追加します。\"\r\n"
          "\"盛土\",\"盛土\",1,1,\"K2\",\"G10A.TXT に「1,,盛土,」の行を追加します。\"\r\n");
  EXPECT_TRUE(Contains(out, "Soil names without a code: " + (dest / "kolbrix2vantor-uncoded.csv").string() + "\n"))
      << out;
  // The report and the summary count the same layers as the list: every
  // layer but 表土, 泥岩と頁岩の互層 once.
  EXPECT_TRUE(Contains(Report(), "\"K1\",変換済み（警告あり）,") && Contains(Report(), ",9,8\r\n")) << Report();
  EXPECT_TRUE(Contains(out, "  K1: converted with warnings, 8 of 9 layers without a soil code\n")) << out;

  // A single run writes the list of its boring only when asked, and says
  // nothing more.
  const std::string list = (root / "K2-uncoded.csv").string();
  const int status = Single(site / "K2", dest / "K2");
  const std::string outWithout = out, errWithout = err;
  EXPECT_EQ(test::RunCommand({K2V_CLI_PATH, "--yes", "--system-dir", system.string(), "--uncoded", list,
                              (site / "K2").string(), (dest / "K2").string()},
                             out, err),
            status);
  EXPECT_EQ(out, outWithout);
  EXPECT_EQ(err, errWithout);
  const std::string k2 = ",1,1,\"" + (site / "K2").string() + "\",";
  EXPECT_EQ(test::ReadBytes(list),
            "\xEF\xBB\xBF"
            "土質名（記載のまま）,照合した語,層数,ボーリング数,ボーリング（先頭 3 本）,対処\r\n"
            "\"盛土\",\"盛土\"" +
                k2 +
                "\"G10A.TXT に「1,,盛土,」の行を追加します。\"\r\n"
                "\"粘土\",\"粘土\"" +
                k2 +
                "\"G10A.TXT に「600,,粘土,」の行を追加します。\"\r\n"
                "\"礫質土\",\"土\"" +
                k2 + "\"" + quality +
                "\"\r\n"
                "\"岩盤\",\"岩盤\"" +
                k2 + "\"Vantor の土質コードを決めて、G10A.TXT に「コード,,岩盤,」の行を追加します。\"\r\n");
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
  EXPECT_TRUE(Contains(Report(), "\"K2\",変換済み（警告あり）,\"変換は終了しましたが、")) << Report();
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
  EXPECT_TRUE(Contains(Report(), "\"K1\",変換済み（警告あり）,")) << Report();
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
  EXPECT_TRUE(Contains(test::ReadBytes(root / "kolbrix2vantor-report.csv"), "\"K1\",変換済み,"));
}

TEST(BatchReport, ALinkPlantedUnderTheNewFilesNameIsNeverWrittenThrough) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links are a POSIX test here: on Windows making one needs a privilege";
#endif
  test::TempDir root;
  test::WriteBytes(root / "outside.txt", "not the converter's\r\n");
  BoringResult converted;
  converted.relativePath = "K1";
  converted.outcome = BoringOutcome::Converted;
  // The link appears between any check of the name and the file's creation.
  SetFaultHook([&, once = true](FileOperation op, const std::string& path) mutable {
    if (op == FileOperation::Create && once) fs::create_symlink(root / "outside.txt", path);
    once = once && op != FileOperation::Create;
    return 0;
  });
  const std::string report = WriteBatchReport(root.path().string(), {converted});
  SetFaultHook(nullptr);
  EXPECT_EQ(test::ReadBytes(root / "outside.txt"), "not the converter's\r\n");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(report)));
  EXPECT_EQ(test::ReadBytes(report), BatchReportCsv({converted}));
}

TEST_F(BatchCommandTest, TwoBatchesIntoOneRootBothWriteTheirReportsWhole) {
  FullExport(site / "K1");
  fs::create_directories(dest);
  BoringResult mine;
  mine.relativePath = "mine";
  mine.outcome = BoringOutcome::Converted;
  // The other batch writes its report while this one's is half made.
  int other = -1;
  SetFaultHook([&](FileOperation op, const std::string&) {
    if (op == FileOperation::Write && other == -1) other = Batch({"--yes", site.string(), dest.string()});
    return 0;
  });
  EXPECT_NO_THROW(WriteBatchReport(dest.string(), {mine}));
  SetFaultHook(nullptr);
  EXPECT_EQ(other, 0) << out << err;
  EXPECT_TRUE(Contains(out, "\nReport: " + (dest / "kolbrix2vantor-report.csv").string() + "\n")) << out;
  EXPECT_EQ(Report(), BatchReportCsv({mine}));
  for (const auto& entry : fs::directory_iterator(dest)) {
    EXPECT_NE(entry.path().filename().string().rfind(".kolbrix2vantor-report", 0), 0u) << entry.path();
  }
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

TEST_F(BatchCommandTest, ProgressAndSummarySpeakJapaneseWithTheCountsInOneColumn) {
  test::ScopedMessageLanguage japanese("ja_JP.UTF-8");
  // Without Radudi32.ini the X6 records are not converted: a warning.
  FullExport(site / "K1");
  EXPECT_EQ(Batch({"--yes", site.string(), dest.string()}), 0) << out << err;
  EXPECT_TRUE(Contains(err, "[1/1] K1: 変換済み（警告あり）\n")) << err;
  EXPECT_EQ(out.rfind("変換済み:             0\n"
                      "変換済み（警告あり）: 1\n"
                      "変換せず:             0\n"
                      "失敗:                 0\n"
                      "\n"
                      "確認が必要なボーリング:\n"
                      "  K1: 変換済み（警告あり）、13 層のうち 2 層は土質コードなし\n",
                      0),
            0u)
      << out;
  EXPECT_TRUE(Contains(out, "\n変換結果の CSV: " + (dest / "kolbrix2vantor-report.csv").string() + "\n")) << out;
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
