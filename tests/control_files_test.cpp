#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "run/control_files.hpp"
#include "test_support.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

// Components 3 to 5 of a destination path, as the run sets them aside.
std::array<std::string, 3> Components345(const std::string& folder, const std::string& separator) {
  std::vector<std::string> parts = SplitByDelimiter(folder, separator);
  std::array<std::string, 3> out;
  for (size_t k = 0; k < 3; ++k) out[k] = k + 2 < parts.size() ? parts[k + 2] : "";
  return out;
}

struct ControlCase {
  const char* name;
  std::string source;  // content of the source CNT.TXT (UTF-8)
  std::string line5;
  std::string line6;
};

TEST(ControlFiles, SettingFiveAboveTwentyBecomesTwo) {
  const std::vector<ControlCase> cases = {
      {"25 is replaced", "1,0,0,0,25,3\r\n", "2", "3"},
      {"20 is kept", "1,0,0,0,20,3\r\n", "20", "3"},
      {"7.5 is written unchanged", "1,0,0,0,7.5,3\r\n", "7.5", "3"},
      {"text has the value 0", "1,0,0,0,ABC,3\r\n", "ABC", "3"},
      {"20.5 is above 20", "1,0,0,0,20.5,3\r\n", "2", "3"},
      {"the leading number counts", "1,0,0,0,21件,地点\r\n", "2", "地点"},
      {"a short file leaves setting 6 empty", "1,0,0,0,25\r\n", "2", ""},
      {"items may stand on several lines", "1,0\r\n0,0\r\n12,\"4,5\"\r\n", "12", "4,5"},
  };
  // Both path forms give the same components 3 to 5.
  for (const auto& [folder, separator] : std::vector<std::pair<std::string, std::string>>{
           {"C:\\GB\\K001\\S01\\B02\\", "\\"}, {"/GB/K001/S01/B02/", "/"}}) {
    for (const ControlCase& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " for " + folder);
      test::TempDir src, dst;
      test::WriteSjis(src / "CNT.TXT", c.source);
      WriteControlFiles(src.folder(), dst.folder(), Components345(folder, separator));
      EXPECT_EQ(test::ReadBytes(dst / "CNT.TXT"),
                test::CrLfLines({"K0", "S01", "B02", "", c.line5, c.line6, "", "", "", ""}));
      EXPECT_EQ(test::ReadBytes(dst / "CNT2.TXT"), test::CrLfLines({c.line6, "0"}));
    }
  }
}

TEST(ControlFiles, MissingSourceFileGivesEmptySettingsAndCreatesNothing) {
  test::TempDir src, dst;
  WriteControlFiles(src.folder(), dst.folder(), {"地点一", "", ""});
  // Line 1 takes two characters, not two bytes.
  EXPECT_EQ(test::ReadBytes(dst / "CNT.TXT"), test::CrLfLines({"地点", "", "", "", "", "", "", "", "", ""}));
  EXPECT_EQ(test::ReadBytes(dst / "CNT2.TXT"), test::CrLfLines({"", "0"}));
  EXPECT_TRUE(fs::is_empty(src.path()));
}

TEST(ControlFiles, EmptySourceFileStaysAndGivesEmptySettings) {
  test::TempDir src, dst;
  test::WriteBytes(src / "CNT.TXT", "");
  WriteControlFiles(src.folder(), dst.folder(), {"K", "S01", ""});
  EXPECT_EQ(test::ReadBytes(dst / "CNT.TXT"), test::CrLfLines({"K", "S01", "", "", "", "", "", "", "", ""}));
  EXPECT_EQ(test::ReadBytes(src / "CNT.TXT"), "");
}

TEST(ControlFiles, ShortPathsLeaveTheirLinesEmpty) {
  test::TempDir src, dst;
  test::WriteSjis(src / "CNT.TXT", "1,0,0,0,5,2\r\n");
  WriteControlFiles(src.folder(), dst.folder(), Components345("C:\\GB\\", "\\"));
  EXPECT_EQ(test::ReadBytes(dst / "CNT.TXT"), test::CrLfLines({"", "", "", "", "5", "2", "", "", "", ""}));
}

}  // namespace
}  // namespace k2v
