#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "run/vantor_folders.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

// Folders of one temporary tree: a program folder and two volumes.
class RadudiSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root / "vol1" / "app");
    fs::create_directories(root / "vol2");
  }

  // The path below the tree, with the system's separators.
  std::string Path(const std::string& relative) const { return root.folder() + test::Native(relative); }
  void Kishitu(const std::string& folder, const std::string& bytes = "pattern") {
    test::WriteBytes(root / folder / "kishitu.txt", bytes);
  }
  std::string Find() {
    visited.clear();
    return FindRadudiFolder(Path("vol1/app"), {Path("vol1"), Path("vol2")}, [this](const std::string& folder) {
      visited.push_back(folder);
      return true;
    });
  }
  std::vector<std::string> Walk(const std::string& volume) {
    std::vector<std::string> candidates;
    EXPECT_TRUE(SearchFolderTree(Path(volume) + "/RADUDI", candidates, "kishitu.txt"));
    return candidates;
  }

  test::TempDir root;
  std::vector<std::string> visited;
};

TEST_F(RadudiSearchTest, FolderBesideTheProgramIsTakenWithoutAnyWalk) {
  Kishitu("vol1/app/RADUDI", "0123456789");
  Kishitu("vol1/other/RADUDI");
  EXPECT_EQ(Find(), Path("vol1/app/RADUDI/"));
  EXPECT_TRUE(visited.empty());
}

TEST_F(RadudiSearchTest, EmptyKishituBesideTheProgramDoesNotQualify) {
  Kishitu("vol1/app/RADUDI", "");
  Kishitu("vol1/data/RADUDI");
  EXPECT_EQ(Find(), Path("vol1/data/RADUDI/"));
  // Nor does an empty one found by the walk.
  EXPECT_EQ(Walk("vol1"), (std::vector<std::string>{Path("vol1/data/RADUDI/")}));
}

TEST_F(RadudiSearchTest, CandidatesComeParentsFirstAndSiblingsInNameOrder) {
  // Made in reverse, so that the listing order of the folder cannot decide.
  Kishitu("vol1/Y/RADUDI");
  Kishitu("vol1/X/deeper/RADUDI");
  Kishitu("vol1/X/RADUDI");
  Kishitu("vol1/RADUDI");
  EXPECT_EQ(Walk("vol1"), (std::vector<std::string>{Path("vol1/RADUDI/"), Path("vol1/X/RADUDI/"),
                                                    Path("vol1/X/deeper/RADUDI/"), Path("vol1/Y/RADUDI/")}));
  EXPECT_EQ(Find(), Path("vol1/RADUDI/"));
}

TEST_F(RadudiSearchTest, NamesMatchWithoutRegardToCase) {
  test::WriteBytes(root / "vol1/data/Radudi/KISHITU.TXT", "x");
  EXPECT_EQ(Find(), Path("vol1/data/Radudi/"));
}

TEST_F(RadudiSearchTest, SecondVolumeIsSearchedAfterTheProgramsOwnWhichIsWalkedOnce) {
  Kishitu("vol2/share/RADUDI");
  EXPECT_EQ(Find(), Path("vol2/share/RADUDI/"));
  EXPECT_EQ(std::count(visited.begin(), visited.end(), Path("vol1")), 1);
  EXPECT_EQ(std::count(visited.begin(), visited.end(), Path("vol1/app")), 1);
  EXPECT_EQ(visited.front(), Path("vol1"));
}

TEST_F(RadudiSearchTest, ProgramsVolumeIsWalkedFirstWhateverTheOrderOfTheVolumes) {
  fs::create_directories(root / "vol2/app");
  Kishitu("vol1/RADUDI");
  Kishitu("vol2/RADUDI");
  EXPECT_EQ(FindRadudiFolder(Path("vol2/app"), {Path("vol1"), Path("vol2")}), Path("vol2/RADUDI/"));
}

TEST_F(RadudiSearchTest, NothingAnywhereGivesTheEmptyText) {
  fs::create_directories(root / "vol1/a/b/c");
  EXPECT_EQ(Find(), "");
}

TEST_F(RadudiSearchTest, SymbolicLinksAreNotFollowed) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links are a POSIX test here: on Windows making one needs a privilege";
#endif
  Kishitu("outside/RADUDI");
  fs::create_directories(root / "vol1/a");
  fs::create_directory_symlink(root / "vol1", root / "vol1/a/loop");  // a loop back to the top
  fs::create_directory_symlink(root / "outside", root / "vol1/a/link");
  fs::create_directory_symlink(root / "outside/RADUDI", root / "vol1/a/RADUDI");
  EXPECT_EQ(Find(), "");
  EXPECT_EQ(std::count(visited.begin(), visited.end(), Path("vol1/a")), 1);
}

TEST_F(RadudiSearchTest, FoldersThatCannotBeReadAreSkipped) {
#ifdef _WIN32
  GTEST_SKIP() << "needs fork and setuid to read as a user without rights";
#else
  Kishitu("vol1/a-locked/RADUDI");
  Kishitu("vol1/b-open/RADUDI");
  fs::permissions(root / "vol1/a-locked", fs::perms::none);
  // The administrator reads every folder; the walk then runs as nobody.
  bool asRoot = geteuid() == 0;
  if (asRoot) fs::permissions(root.path(), fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (asRoot && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
    std::string found = FindRadudiFolder(Path("vol1/app"), {Path("vol1")});
    _exit(found == Path("vol1/b-open/RADUDI/") ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

TEST_F(RadudiSearchTest, CancellingEndsTheSearchAsNotFound) {
  Kishitu("vol1/z/RADUDI");
  int calls = 0;
  std::string found = FindRadudiFolder(Path("vol1/app"), {Path("vol1"), Path("vol2")}, [&](const std::string&) {
    ++calls;
    return false;
  });
  EXPECT_EQ(found, "");
  EXPECT_EQ(calls, 1);
}

TEST_F(RadudiSearchTest, EveryQualifyingFolderIsCollected) {
  for (int i = 0; i < 1005; ++i) Kishitu("vol1/f" + std::to_string(10000 + i) + "/RADUDI", "x");
  std::vector<std::string> candidates = Walk("vol1");
  ASSERT_EQ(candidates.size(), 1005u);
  EXPECT_EQ(candidates.front(), Path("vol1/f10000/RADUDI/"));
  EXPECT_EQ(candidates.back(), Path("vol1/f11004/RADUDI/"));
}

}  // namespace
}  // namespace k2v
