#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "test_support.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

const fs::path kFull = fs::path(K2V_TEST_DATA_DIR) / "stages_full";

// A full export folder, a system folder without Radudi32.ini, and a place
// for the destination.
class FullRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = root / "export";
    destination = root / "GB" / "K001" / "S01";
    fs::create_directories(root / "system");
    fs::copy(kFull / "source", source);
  }

  int RunCommand() {
    return test::RunCommand({K2V_CLI_PATH, "--yes", "--system-dir", (root / "system").string(), source.string(),
                             destination.string()},
                            out, err);
  }

  std::string Dst(const std::string& name) const { return test::ReadBytes(destination / name); }

  // CNT.TXT as the destination path gives it: components 3 to 5 of the path
  // split at "/" (component 1 is the empty text before the root).
  std::string ExpectedCnt() const {
    std::vector<std::string> parts = SplitByDelimiter(PathText(destination) + test::Sep(), test::Sep());
    auto component = [&](size_t k) { return k <= parts.size() ? parts[k - 1] : std::string(); };
    return test::CrLfLines({LeftCharsOf(component(3), 2), component(4), component(5), "", "2", "3", "", "", "", ""});
  }

  // Checks the complete list of destination files, names and bytes: every
  // file of the expected folder, CNT.TXT (made from the destination path) and
  // the files of an earlier run named in alsoExpected, and nothing else.
  void ExpectDestination(const std::map<std::string, std::string>& alsoExpected = {}) {
    std::map<std::string, std::string> expected = alsoExpected;
    for (const auto& entry : fs::directory_iterator(kFull / "expected")) {
      expected[entry.path().filename().string()] = test::ReadBytes(entry.path());
    }
    expected["CNT.TXT"] = ExpectedCnt();
    // The destination's lock file stays, empty.
    expected[".kolbrix2vantor-lock"] = "";
    std::map<std::string, std::string> actual;
    for (const auto& entry : fs::directory_iterator(destination)) {
      actual[entry.path().filename().string()] = test::ReadBytes(entry.path());
    }
    std::vector<std::string> expectedNames, actualNames;
    for (const auto& [name, bytes] : expected) expectedNames.push_back(name);
    for (const auto& [name, bytes] : actual) actualNames.push_back(name);
    EXPECT_EQ(actualNames, expectedNames);
    for (const auto& [name, bytes] : expected) {
      auto found = actual.find(name);
      if (found != actual.end()) {
        EXPECT_EQ(found->second, bytes) << name;
      }
    }
    // The files Vantor takes unchanged are the source files themselves.
    for (const char* name : {"G71.TXT", "G73.TXT", "G81.TXT", "PCNT.TXT", "PAT01.DAT", "PAT02.DAT", "PAT02.TXT"}) {
      EXPECT_EQ(Dst(name), test::ReadBytes(kFull / "source" / name)) << name;
    }
  }

  test::TempDir root;
  fs::path source;
  fs::path destination;
  std::string out, err;
};

TEST_F(FullRunTest, WritesEveryStageFileAndLeavesTheSourceUnchanged) {
  auto before = test::Snapshot(source);
  // Without Radudi32.ini the X6 records are told as not converted.
  ASSERT_EQ(RunCommand(), 0) << out << err;
  EXPECT_EQ(out.find("エラー"), std::string::npos) << out;
  ExpectDestination();
  EXPECT_EQ(test::Snapshot(source), before);
}

TEST_F(FullRunTest, ReadOnlySourceIsLeftByteForByteUnchanged) {
  // Without the control and group lists the run has nothing to read there,
  // and creates nothing in their place either.
  fs::remove(source / "CNT.TXT");
  fs::remove(source / "PCNT.TXT");
  auto before = test::Snapshot(source);
  for (const auto& entry : fs::directory_iterator(source)) {
    fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }
  fs::permissions(source, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  ASSERT_EQ(RunCommand(), 0) << out << err;
  EXPECT_EQ(test::Snapshot(source), before);
  EXPECT_FALSE(fs::exists(destination / "PCNT.TXT"));
  EXPECT_FALSE(fs::exists(destination / "PAT01.DAT"));
  EXPECT_EQ(Dst("CNT2.TXT"), "\r\n0\r\n");
  EXPECT_EQ(Dst("Titl1.txt"), test::ReadBytes(kFull / "expected" / "Titl1.txt"));
}

TEST_F(FullRunTest, IntermediateFilesOfTheDestinationTakeTheirFinalNames) {
  // Files of an earlier run: no converter writes N2.TXT or N9.TXT.
  fs::create_directories(destination);
  test::WriteBytes(destination / "D11.TXT", "D11 of an earlier run\r\n");
  test::WriteBytes(destination / "N2.TXT", "");
  test::WriteBytes(destination / "N9.TXT", "  1,  2.50\r\n");
  test::WriteBytes(destination / "titl02.txt", "an old copy\r\n");
  ASSERT_EQ(RunCommand(), 0) << out << err;
  // D11.TXT stays as the earlier run left it; N9.TXT becomes D80.TXT.
  ExpectDestination({{"D11.TXT", "D11 of an earlier run\r\n"}, {"D80.TXT", "  1,  2.50\r\n"}});
  for (const char* gone : {"N2.TXT", "N9.TXT", "N7_WK.TXT", "titl02.txt"}) {
    EXPECT_FALSE(fs::exists(destination / gone)) << gone;
  }
}

TEST_F(FullRunTest, StaleN7OfAnEarlierConverterGetsVantorsCodes) {
  // No X7 data this run; an interrupted older converter left its N7.TXT with
  // Kolbrix's code 3 in field 3.
  fs::remove(source / "X7.TXT");
  fs::create_directories(destination);
  test::WriteBytes(destination / "N7.TXT", "  1,A01   , 3,   1.50,  12.00,SAND    ,CLAY    \r\n2,B,44,2,3,,\r\n");
  ASSERT_EQ(RunCommand(), 0) << out << err;
  EXPECT_EQ(Dst("G50.TXT"),
            "  1,A01   ,21,   1.50,  12.00,SAND    ,CLAY    \r\n"
            "  2,B     ,90,      2,      3,        ,        \r\n");
  EXPECT_FALSE(fs::exists(destination / "N7.TXT"));
}

TEST_F(FullRunTest, TitleCopyThatTheRunDidNotMakeIsDeletedUnread) {
  // The source has titl01.txt only; the destination still holds the other two
  // of another boring.
  fs::remove(source / "titl02.txt");
  fs::remove(source / "titl03.txt");
  const fs::path clean = destination;
  ASSERT_EQ(RunCommand(), 0) << out << err;
  destination = root / "GB" / "K001" / "S02";
  fs::create_directories(destination);
  test::WriteSjis(destination / "titl02.txt", "別の現場\r\n99.99\r\n");
  test::WriteSjis(destination / "TITL03.TXT", "別の孔\r\n");
  ASSERT_EQ(RunCommand(), 0) << out << err;
  for (const char* sheet : {"Titl1.txt", "Titl2.txt"}) {
    EXPECT_EQ(Dst(sheet), test::ReadBytes(clean / sheet)) << sheet;
  }
  EXPECT_FALSE(fs::exists(destination / "titl02.txt"));
  EXPECT_FALSE(fs::exists(destination / "TITL03.TXT"));
}

TEST_F(FullRunTest, FileThatCannotBeRenamedEndsTheRunWithItsError) {
  fs::create_directories(destination / "D80.TXT" / "in the way");
  test::WriteBytes(destination / "N9.TXT", "data\r\n");
  EXPECT_EQ(RunCommand(), 3);
  EXPECT_EQ(out.find("変換が正常に終了しました。"), std::string::npos) << out;
  EXPECT_EQ(out.find("変換は終了しました"), std::string::npos) << out;
  // The message names the name that is taken; nothing was put in place.
  EXPECT_NE((out + err).find((destination / "D80.TXT").string()), std::string::npos) << out << err;
  EXPECT_EQ(Dst("N9.TXT"), "data\r\n");
  EXPECT_FALSE(fs::exists(destination / "D10.txt"));
  EXPECT_FALSE(fs::exists(destination / ".kolbrix2vantor-work"));
}

}  // namespace
}  // namespace k2v
