#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "run/gather_files.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

// A source and a destination folder side by side.
class GatherFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root / "src");
    fs::create_directories(root / "dst");
  }
  std::string Src() const { return (root / "src").string() + "/"; }
  std::string Dst() const { return (root / "dst").string() + "/"; }
  // Writes a source file whose content names it.
  void Source(const std::string& name) { test::WriteBytes(root / "src" / name, "content of " + name + "\r\n"); }
  std::vector<std::string> DestinationNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root / "dst")) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  void ExpectCopied(const std::string& name) const {
    EXPECT_EQ(test::ReadBytes(root / "dst" / name), test::ReadBytes(root / "src" / name)) << name;
  }

  test::TempDir root;
};

TEST_F(GatherFilesTest, TitleAndGFilesAreCopiedUnderTheirOwnNames) {
  for (const char* name : {"titl01.txt", "TITL02.TXT", "titl1.txt", "titl010.txt", "g71.txt", "G72.TXT", "G73.TXT",
                           "G81.txt", "G710.TXT", "X1.TXT"}) {
    Source(name);
  }
  auto before = test::Snapshot(root / "src");
  GatherSourceFiles(Src(), Dst());
  EXPECT_EQ(DestinationNames(),
            (std::vector<std::string>{"G73.TXT", "G81.txt", "TITL02.TXT", "g71.txt", "titl01.txt"}));
  for (const auto& name : DestinationNames()) ExpectCopied(name);
  EXPECT_EQ(test::Snapshot(root / "src"), before) << "no PCNT.TXT appears in the source";
}

TEST_F(GatherFilesTest, PcntListsFileGroupsWhichAreCopiedWithIt) {
  test::WriteSjis(root / "src" / "PCNT.TXT", "1,PAT01\r\n2, \"PAT02\"\r\n3,NONE\r\n");
  for (const char* name : {"PAT01.DAT", "PAT01.TXT", "PAT02.DAT", "PAT010.DAT", "PAT03.DAT", "pat01"}) Source(name);
  GatherSourceFiles(Src(), Dst());
  EXPECT_EQ(DestinationNames(), (std::vector<std::string>{"PAT01.DAT", "PAT01.TXT", "PAT02.DAT", "PCNT.TXT"}));
  for (const auto& name : DestinationNames()) ExpectCopied(name);
}

TEST_F(GatherFilesTest, GroupNamesReachNoFileOutsideTheSourceFolder) {
  // A name with a folder part names no file of the source folder; nothing
  // beside it is copied, and nothing is written beside the destination.
  test::WriteSjis(root / "src" / "PCNT.TXT", "1,../outside\r\n2,..\\outside\r\n");
  test::WriteBytes(root / "outside.DAT", "not part of the export\r\n");
  GatherSourceFiles(Src(), Dst());
  EXPECT_EQ(DestinationNames(), (std::vector<std::string>{"PCNT.TXT"}));
  std::vector<std::string> besideTheFolders;
  for (const auto& entry : fs::directory_iterator(root.path())) {
    besideTheFolders.push_back(entry.path().filename().string());
  }
  std::sort(besideTheFolders.begin(), besideTheFolders.end());
  EXPECT_EQ(besideTheFolders, (std::vector<std::string>{"dst", "outside.DAT", "src"}));
}

TEST_F(GatherFilesTest, EmptyPcntStaysInTheSourceAndIsNotCopied) {
  test::WriteBytes(root / "src" / "PCNT.TXT", "");
  Source("PAT01.DAT");
  GatherSourceFiles(Src(), Dst());
  EXPECT_TRUE(DestinationNames().empty());
  EXPECT_TRUE(fs::exists(root / "src" / "PCNT.TXT"));
}

TEST_F(GatherFilesTest, CopiesReplaceDestinationFilesOfTheSameName) {
  Source("G71.TXT");
  test::WriteBytes(root / "dst" / "g71.txt", "an older, longer G71 file of an earlier run\r\n");
  GatherSourceFiles(Src(), Dst());
  EXPECT_EQ(DestinationNames(), (std::vector<std::string>{"g71.txt"}));
  EXPECT_EQ(test::ReadBytes(root / "dst" / "g71.txt"), test::ReadBytes(root / "src" / "G71.TXT"));
}

TEST_F(GatherFilesTest, ListsHaveNoFixedLimit) {
  // 120 names in PCNT.TXT, and 300 files of the last group.
  std::string pcnt;
  for (int k = 1; k <= 120; ++k) {
    std::string name = "P" + std::to_string(1000 + k);
    pcnt += std::to_string(k) + "," + name + "\r\n";
    Source(name + ".DAT");
  }
  for (int k = 0; k < 300; ++k) Source("P1120." + std::to_string(k));
  test::WriteBytes(root / "src" / "PCNT.TXT", pcnt);
  GatherSourceFiles(Src(), Dst());
  EXPECT_EQ(DestinationNames().size(), 1u + 120u + 300u);
  ExpectCopied("P1001.DAT");
  ExpectCopied("P1120.DAT");
  ExpectCopied("P1120.299");
}

TEST_F(GatherFilesTest, GroupsAndWildCardsCopyEachFileOnceInNameOrderIntoItsExistingSpelling) {
  // Groups overlap and hold wild cards; a file that several of them name is
  // copied once, and each copy lands on a destination file of the same name
  // in another letter case, the first in name order, as any copy does.
  test::WriteSjis(root / "src" / "PCNT.TXT", "1,ab\r\n2,A?\r\n3,*B\r\n4,AB.X\r\n5,b\r\n");
  for (const char* name : {"AB.DAT", "ab.txt", "AB.X.1", "AC.DAT", "XB.DAT", "B.DAT", "ABC.DAT", "a.b"}) Source(name);
  test::WriteBytes(root / "dst" / "Ab.Txt", "an earlier copy\r\n");
  std::vector<std::string> names = {"AB.DAT", "AB.X.1", "AC.DAT", "Ab.Txt", "B.DAT", "PCNT.TXT", "XB.DAT"};
#ifndef _WIN32
  // Where names are case-sensitive, a second spelling after the first in
  // name order stays as it is.
  test::WriteBytes(root / "dst" / "aB.tXT", "another earlier copy\r\n");
  names.push_back("aB.tXT");
#endif
  std::vector<std::string> copyOrder;
  SetFaultHook([&](FileOperation operation, const std::string& path) {
    if (operation == FileOperation::Copy) copyOrder.push_back(fs::path(path).filename().string());
    return 0;
  });
  GatherSourceFiles(Src(), Dst());
  SetFaultHook(nullptr);
  EXPECT_EQ(copyOrder,
            (std::vector<std::string>{"PCNT.TXT", "AB.DAT", "AB.X.1", "B.DAT", "XB.DAT", "ab.txt", "AC.DAT"}));
  EXPECT_EQ(DestinationNames(), names);
  EXPECT_EQ(test::ReadBytes(root / "dst" / "Ab.Txt"), test::ReadBytes(root / "src" / "ab.txt"));
#ifndef _WIN32
  EXPECT_EQ(test::ReadBytes(root / "dst" / "aB.tXT"), "another earlier copy\r\n");
#endif
  for (const char* name : {"AB.DAT", "AB.X.1", "AC.DAT", "XB.DAT", "B.DAT"}) ExpectCopied(name);
}

TEST_F(GatherFilesTest, FileThatCannotBeCopiedThrows) {
  Source("G81.TXT");
  fs::create_directories(root / "dst" / "G81.TXT" / "in the way");
  try {
    GatherSourceFiles(Src(), Dst());
    FAIL() << "no FileError";
  } catch (const FileError& e) {
    EXPECT_NE(e.path().find("G81.TXT"), std::string::npos);
  }
}

}  // namespace
}  // namespace k2v
