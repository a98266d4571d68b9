#include <gtest/gtest.h>

#include <filesystem>

#include "cli/path_arguments.hpp"
#include "platform/files.hpp"
#include "platform/system_folders.hpp"
#include "run/vantor_folders.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = root.path() / "export";
    test::WriteSjis(source / "X1.TXT", "1,3.50,0,砂\r\n");
    fs::create_directories(root / "system");
  }
  int Run(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), K2V_CLI_PATH);
    return test::RunCommand(args, out, err, input);
  }

  // The command line's own texts in English unless a test asks for Japanese.
  test::ScopedMessageLanguage english{"C"};
  test::TempDir root;
  fs::path source;
  std::string out;
  std::string err;
};

TEST_F(CommandLineTest, ConvertsAndPrintsTheClosingStatus) {
  const fs::path dest = root / "GANBAN" / "K001" / "S01" / "B02";
  fs::create_directories(dest);
  EXPECT_EQ(Run({"--system-dir", (root / "system").string(), source.string(), dest.string()}), 0);
  EXPECT_EQ(out, "変換が正常に終了しました。\n");
  EXPECT_EQ(err, "");
}

TEST(DestinationLevels, AShallowDestinationIsNamedWithTheLevelsCntTxtMisses) {
  const std::string s = test::Sep();
#ifdef _WIN32
  const std::string top = "C:", layout = "C:\\GANBAN\\K001\\S01\\B02";
#else
  const std::string top = "", layout = "/GANBAN/K001/S01/B02";
#endif
  const std::string lacks = " of Vantor's layout " + layout + ": line";
  EXPECT_EQ(MissingLevelsWarning(top + s + "GANBAN" + s + "K001" + s + "S01" + s + "B02"), "");
  EXPECT_EQ(MissingLevelsWarning(top + s + "data" + s + "GANBAN" + s + "K001" + s + "S01" + s + "B02"), "");
  EXPECT_EQ(MissingLevelsWarning(top + s + "GANBAN" + s + "K001" + s + "B02"),
            "kolbrix2vantor: warning: " + top + s + "GANBAN" + s + "K001" + s + "B02 lacks level 5" + lacks +
                " 3 of CNT.TXT is empty");
  EXPECT_EQ(MissingLevelsWarning(top + s + "out"), "kolbrix2vantor: warning: " + top + s +
                                                       "out lacks levels 3, 4 and 5" + lacks +
                                                       "s 1, 2 and 3 of CNT.TXT are empty");
  EXPECT_EQ(MissingLevelsWarning(top + s), "kolbrix2vantor: warning: " + top + s + " lacks levels 3, 4 and 5" + lacks +
                                               "s 1, 2 and 3 of CNT.TXT are empty");
}

TEST_F(CommandLineTest, FolderQuestionIsAnsweredByYesOrNoTerminal) {
  fs::path dest = root / "new" / "dest";
  // No terminal: the answer is No, the run is refused and nothing is created.
  EXPECT_EQ(Run({source.string(), dest.string()}), 1);
  EXPECT_NE(err.find("ﾌｫﾙﾀﾞがありません。新規作成しますか？ n\nkolbrix2vantor: " + PathText(dest) +
                     " does not exist; --yes creates it\n"),
            std::string::npos)
      << err;
  EXPECT_EQ(out, "");
  EXPECT_FALSE(fs::exists(root / "new"));
  // --yes creates every level; a trailing "/" from shell completion is dropped.
  EXPECT_EQ(Run({"--yes", source.string(), dest.string() + "/"}), 0);
  EXPECT_TRUE(fs::is_directory(dest));
}

TEST_F(CommandLineTest, RefusalsExitWithOneAndPrintTheMessageWithItsTitle) {
  fs::remove(source / "X1.TXT");
  fs::create_directories(root / "dest");
  EXPECT_EQ(Run({source.string(), (root / "dest").string()}), 1);
  EXPECT_EQ(err, PathText(source) + test::Sep() + ": データがありません。\n");
  EXPECT_EQ(out, "");
  EXPECT_TRUE(fs::is_empty(source));
}

TEST_F(CommandLineTest, RelativePathsAreResolvedAgainstTheCurrentFolder) {
  fs::create_directories(root / "dest");
  fs::path here = fs::current_path();
  fs::current_path(root.path());
  int status = Run({"--system-dir=system", "./export/../export", "dest"});
  fs::current_path(here);
  EXPECT_EQ(status, 0) << err;
}

#ifndef _WIN32
// Windows does not let a process's current folder be removed.
TEST_F(CommandLineTest, RelativePathsInARemovedCurrentFolderAreRefusedNotACrash) {
  fs::path here = fs::current_path();
  fs::create_directories(root / "gone");
  fs::current_path(root / "gone");
  fs::remove(root / "gone");
  const int single = Run({"export", "dest"});
  const int batch = Run({"--batch", "export", "dest"});
  fs::current_path(here);
  EXPECT_EQ(single, 1);
  EXPECT_EQ(batch, 1);
}
#endif

TEST_F(CommandLineTest, WrongUsageExitsWithTwo) {
  EXPECT_EQ(Run({}), 2);
  EXPECT_NE(err.find("Usage: kolbrix2vantor"), std::string::npos);
  EXPECT_EQ(Run({"only-one"}), 2);
  EXPECT_EQ(Run({"--frobnicate", "a", "b"}), 2);
  const std::string tryHelp = "\nTry 'kolbrix2vantor --help' for more information.\n";
  EXPECT_EQ(err.substr(err.size() - tryHelp.size()), tryHelp);
  EXPECT_EQ(Run({"a", "b", "--system-dir"}), 2);
  EXPECT_EQ(err.rfind("kolbrix2vantor: option '--system-dir' requires an argument\n", 0), 0u) << err;
  EXPECT_EQ(Run({"--batch", "a", "b", "--jobs"}), 2);
  EXPECT_EQ(err.rfind("kolbrix2vantor: option '--jobs' requires an argument\n", 0), 0u) << err;
  EXPECT_EQ(err.substr(err.size() - tryHelp.size()), tryHelp);
  for (const char* help : {"--help", "-h"}) {
    EXPECT_EQ(Run({help}), 0);
    EXPECT_EQ(out.rfind("Usage: kolbrix2vantor", 0), 0u) << help;
    EXPECT_NE(out.find("Radudi32.ini is read from the first of these folders:\n  1. DIR of --system-dir;\n"),
              std::string::npos);
  }
  for (const char* version : {"--version", "-V"}) {
    EXPECT_EQ(Run({version}), 0);
    EXPECT_EQ(out.rfind("kolbrix2vantor ", 0), 0u) << version;
  }
}

TEST_F(CommandLineTest, HelpAndUsageErrorsSpeakTheUsersLanguage) {
  const std::string usage = "kolbrix2vantor [--yes] [--system-dir DIR] [--uncoded FILE] SOURCE DESTINATION\n";
  test::ScopedEnv noMessages("LC_MESSAGES", nullptr);
  {
    // Japanese from LANG, whether or not a Japanese locale is installed ("ja" names none).
    test::ScopedEnv lang("LANG", "ja");
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_EQ(out.rfind("使い方: " + usage, 0), 0u) << out;
    EXPECT_NE(
        out.find("\nRadudi32.ini は、次のフォルダのうち最初に見つかったものを読みます:\n  1. --system-dir の DIR\n"),
        std::string::npos)
        << out;
    EXPECT_EQ(Run({"--frobnicate", "a", "b"}), 2);
    EXPECT_EQ(err, "kolbrix2vantor: オプション '--frobnicate' はありません\n使い方: " + usage +
                       "詳しくは 'kolbrix2vantor --help' で説明を表示してください。\n");
    // The run's own messages are the same in every language.
    fs::create_directories(root / "dest");
    fs::remove(source / "X1.TXT");
    EXPECT_EQ(Run({source.string(), (root / "dest").string()}), 1);
    EXPECT_EQ(err, PathText(source) + test::Sep() + ": データがありません。\n");
  }
  {
    // LC_ALL comes first.
    test::ScopedEnv lang("LANG", "ja_JP.UTF-8");
    test::ScopedEnv all("LC_ALL", "C");
    EXPECT_EQ(Run({"--frobnicate", "a", "b"}), 2);
    EXPECT_EQ(err, "kolbrix2vantor: unrecognized option '--frobnicate'\nUsage: " + usage +
                       "Try 'kolbrix2vantor --help' for more information.\n");
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_EQ(out.rfind("Usage: " + usage, 0), 0u) << out;
  }
}

// The X6 conversion names the Radudi32.ini it looked for, which shows the
// system folder that was chosen.
TEST_F(CommandLineTest, SystemFolderIsLookedUpInItsOrder) {
  test::WriteSjis(source / "X6.TXT", "1\r\n");
  fs::create_directories(root / "dest");
  const fs::path config = root / "config";
  test::ScopedEnv noSystemDir("KOLBRIX2VANTOR_SYSTEM_DIR", nullptr);
#ifdef _WIN32
  test::ScopedEnv configHome("APPDATA", PathText(config).c_str());
  const std::string lastResort = SystemSettingsFolder();
#else
  test::ScopedEnv configHome("XDG_CONFIG_HOME", PathText(config).c_str());
  const std::string lastResort = "/etc";
#endif
  auto iniSeen = [&](std::vector<std::string> options) {
    options.push_back(source.string());
    options.push_back((root / "dest").string());
    Run(options);
    const std::string marker = "Radudi32.ini ";
    const size_t at = err.find(": ", err.find(marker));
    return at == std::string::npos ? err : err.substr(at + 2, err.find('\n', at) - at - 2);
  };
  // A configuration folder without the file is passed over: the warning
  // names both folders looked in.
  fs::create_directories(config / "kolbrix2vantor");
  const std::string configIni = JoinPath(PathText(config / "kolbrix2vantor"), "Radudi32.ini");
  EXPECT_EQ(iniSeen({}), configIni + "、" + JoinPath(lastResort, "Radudi32.ini"));
  // Found in any letter case, as every other file.
  test::WriteBytes(config / "kolbrix2vantor" / "RADUDI32.INI", "");
  EXPECT_EQ(iniSeen({}), configIni);
  {
    test::ScopedEnv systemDir("KOLBRIX2VANTOR_SYSTEM_DIR", PathText(root / "env").c_str());
    EXPECT_EQ(iniSeen({}), JoinPath(PathText(root / "env"), "Radudi32.ini"));
    EXPECT_EQ(iniSeen({"--system-dir", PathText(root / "option")}),
              JoinPath(PathText(root / "option"), "Radudi32.ini"));
  }
}

// A long destination converts like a short one (on Windows past the old
// limit of 260 characters); one with a name longer than the system takes is
// refused before anything is made, naming the path and the system's reason.
TEST_F(CommandLineTest, LongDestinationsConvertAndAPathTheSystemRefusesStopsTheRunFirst) {
  const std::string shortDest = PathText(root / "short");
  ASSERT_EQ(Run({"--yes", "--system-dir", PathText(root / "system"), source.string(), shortDest}), 0);
  for (const size_t length : {200, 232, 260, 300, 1000}) {
    std::string dest = PathText(root / "long") + test::Sep() + std::to_string(length);
    while (dest.size() < length) {
      const size_t left = length - dest.size();
      dest += left == 1 ? std::string("k") : test::Sep() + std::string(std::min<size_t>(100, left - 1), 'k');
    }
    ASSERT_EQ(dest.size(), length);
    EXPECT_EQ(Run({"--yes", "--system-dir", PathText(root / "system"), source.string(), dest}), 0) << length << err;
    EXPECT_EQ(ReadFileBytes(JoinPath(dest, "D10.txt")), ReadFileBytes(JoinPath(shortDest, "D10.txt"))) << length;
    EXPECT_FALSE(EntryExists(JoinPath(dest, ".kolbrix2vantor-work"))) << length;
  }
  const std::string refused = PathText(root / "refused") + test::Sep() + std::string(300, 'n');
  EXPECT_EQ(Run({"--yes", source.string(), refused}), 3);
  EXPECT_NE(err.find("ファイルの処理に失敗しました。\n" + refused + "\n"), std::string::npos) << err;
  EXPECT_FALSE(EntryExists(PathText(root / "refused")));
}

TEST_F(CommandLineTest, EmptyArgumentIsRefusedByThePathCheck) {
  EXPECT_EQ(Run({"", (root / "dest").string()}), 1);
  EXPECT_NE(err.find("指定されたパスは正しくありません。"), std::string::npos);
}

TEST_F(CommandLineTest, UncodedListInsideTheSourceIsRefusedBeforeAnythingChanges) {
  const fs::path dest = root / "GANBAN" / "K001" / "S01" / "B02";
  std::vector<fs::path> lists = {source / "X1.TXT", source / "new" / "list.csv"};
#ifndef _WIN32
  // A folder that leads into the export.
  fs::create_directory_symlink(source, root / "alias");
  lists.push_back(root / "alias" / "list.csv");
#endif
  const test::Tree before = test::SnapshotTree(root.path());
  for (const fs::path& list : lists) {
    SCOPED_TRACE(list.string());
    EXPECT_EQ(Run({"--yes", "--system-dir", (root / "system").string(), "--uncoded", list.string(), source.string(),
                   dest.string()}),
              2);
    EXPECT_NE(err.find("--uncoded " + list.string() + " lies inside SOURCE " + source.string() + "\n"),
              std::string::npos)
        << err;
    EXPECT_EQ(test::SnapshotTree(root.path()), before);
  }
}

TEST_F(CommandLineTest, FailureInsideTheRunExitsWithThree) {
  test::WriteBytes(root / "blocked", "x");
  EXPECT_EQ(Run({"--yes", source.string(), (root / "blocked" / "dest").string()}), 3);
  EXPECT_EQ(out, "変換中にエラーが発生しました。\n");
  EXPECT_NE(err.find((root / "blocked").string()), std::string::npos);
}

}  // namespace
}  // namespace k2v
