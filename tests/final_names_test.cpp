#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "run/final_names.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FinalNames, IntermediateReplacesAnOlderFinalFileWhateverItsSpelling) {
  test::TempDir dst;
  test::WriteBytes(dst / "n3.txt", "new\r\n");
  test::WriteBytes(dst / "d20.txt", "older and longer content\r\n");
  ApplyFinalOutputNames(dst.folder());
  EXPECT_EQ(Names(dst.path()), (std::vector<std::string>{"D20.TXT"}));
  EXPECT_EQ(test::ReadBytes(dst / "D20.TXT"), "new\r\n");
}

TEST(FinalNames, MissingOrEmptyIntermediateLeavesTheFinalFileOfAnEarlierRun) {
  test::TempDir dst;
  test::WriteBytes(dst / "D11.TXT", "earlier D11\r\n");
  test::WriteBytes(dst / "G50.TXT", "earlier G50\r\n");
  test::WriteBytes(dst / "N7.TXT", "");
  ApplyFinalOutputNames(dst.folder());
  EXPECT_EQ(Names(dst.path()), (std::vector<std::string>{"D11.TXT", "G50.TXT"}));
  EXPECT_EQ(test::ReadBytes(dst / "D11.TXT"), "earlier D11\r\n");
  EXPECT_EQ(test::ReadBytes(dst / "G50.TXT"), "earlier G50\r\n");
}

TEST(FinalNames, FileThatCannotTakeItsNameThrows) {
  test::TempDir dst;
  test::WriteBytes(dst / "N3.TXT", "data\r\n");
  fs::create_directories(dst / "D20.TXT" / "in the way");
  try {
    ApplyFinalOutputNames(dst.folder());
    FAIL() << "no FileError";
  } catch (const FileError& e) {
    EXPECT_NE(e.path().find("N3.TXT"), std::string::npos);
  }
}

}  // namespace
}  // namespace k2v
