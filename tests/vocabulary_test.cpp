#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "run/uncoded_list.hpp"
#include "run/vocabulary.hpp"
#include "soil/starter_vocabulary.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(VocabularyFolder, IsTheFolderOfTheDestinationsFirstFourLevels) {
#ifdef _WIN32
  EXPECT_EQ(VocabularyFolder("C:\\GANBAN\\K001\\S01\\B02\\", '\\'), "C:\\GANBAN\\K001\\S01\\");
  EXPECT_EQ(VocabularyFolder("C:\\data\\GANBAN\\K001\\S01\\B02\\", '\\'), "C:\\data\\GANBAN\\K001\\");
  EXPECT_EQ(VocabularyFolder("C:\\out\\", '\\'), "C:\\out\\");
  EXPECT_EQ(VocabularyFolder("C:\\", '\\'), "C:\\");
#else
  EXPECT_EQ(VocabularyFolder("/GANBAN/K001/S01/B02/", '/'), "/GANBAN/K001/S01/");
  EXPECT_EQ(VocabularyFolder("/data/GANBAN/K001/S01/B02/", '/'), "/data/GANBAN/K001/");
  EXPECT_EQ(VocabularyFolder("/tmp/out/", '/'), "/tmp/out/");
  EXPECT_EQ(VocabularyFolder("/", '/'), "/");
#endif
}

// A destination three levels below a folder of the test's own, and its
// vocabulary folder, which lies in that folder too.
class VocabularyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vocabulary = PathText(VocabularyFolder(PathText(destination) + test::Sep(), test::Sep()[0]));
    ASSERT_EQ(vocabulary.string().rfind(root.path().string(), 0), 0u)
        << vocabulary << " lies outside " << root.path() << ": the temporary folder is too deep";
    fs::create_directories(destination);
  }
  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), K2V_CLI_PATH);
    return test::RunCommand(args, out, err);
  }
  std::string Folder(const fs::path& folder) const { return WithoutFinalSeparator(PathText(folder)) + test::Sep(); }

  // The command line's own texts in English unless a test asks for Japanese.
  test::ScopedMessageLanguage english{"C"};
  test::TempDir root{"k2v-test", test::ShallowTempBase()};
  fs::path destination = root / "A" / "B" / "C";
  fs::path vocabulary;
  std::string out, err;
};

TEST_F(VocabularyTest, TheCheckTellsTheFolderTheFilesTheirProblemsAndFilesNeverRead) {
  // Saved as UTF-8, with a line whose code is no number; a Shift-JIS
  // G10A.TXT one level too deep, in the destination.
  test::WriteBytes(vocabulary / "G10A.TXT", "600,,\xE7\xB2\x98\xE5\x9C\x9F,\r\nabc,,x,\r\n");
  test::WriteSjis(destination / "G10A.TXT", "600,,粘土,\r\n");
  const std::string dest = PathText(destination);
  EXPECT_EQ(Run({"--vocabulary", dest}), 0) << err;
  EXPECT_EQ(out, "Vocabulary folder of " + dest + ": " + Folder(vocabulary) +
                     "\n"
                     "G10A.TXT: 1 word (" +
                     PathText(vocabulary / "G10A.TXT") +
                     ")\n"
                     "  saved as UTF-8, not Shift-JIS: its words do not match the descriptions; save it as Shift-JIS\n"
                     "  line 2: the code \"abc\" is not a whole number from -32768 to 32767; the line adds nothing\n"
                     "D12A.TXT: not found\n" +
                     PathText(destination / "G10A.TXT") + ": never read: a conversion into " + dest +
                     " reads G10A.TXT and D12A.TXT from " + Folder(vocabulary) + "\n");
  EXPECT_EQ(err, "");
}

TEST_F(VocabularyTest, StarterWordsAreAddedAfterTheUsersOwnLinesWhichStayByteForByte) {
  // The user's file: lower-case name, LF line ends, no line end at the end,
  // and 粘土 with a code of the user's own.
  const std::string mine = test::Sjis("950,x,珪藻土,y\n601,x,粘土,y");
  test::WriteBytes(vocabulary / "g10a.txt", mine);
  const std::string starter(StarterG10A_TXT());
  const size_t clay = starter.find(test::Sjis("600,粘性土,粘土,"));
  ASSERT_NE(clay, std::string::npos);
  const std::string added = starter.substr(0, clay) + starter.substr(starter.find("\r\n", clay) + 2);

  EXPECT_EQ(Run({"--vocabulary", "--add-starter-words", PathText(destination)}), 0) << err;
  EXPECT_TRUE(test::ReadBytes(vocabulary / "g10a.txt") == mine + "\r\n" + added)
      << test::Escaped(test::ReadBytes(vocabulary / "g10a.txt"), 80);
  EXPECT_TRUE(Contains(out, "Added 215 words to " + PathText(vocabulary / "g10a.txt") + ":\n  1,埋土,盛土,")) << out;
  EXPECT_TRUE(Contains(out, "D12A.TXT: the starter vocabulary holds no names for it; nothing added\n")) << out;
  EXPECT_TRUE(Contains(out, "G10A.TXT: 217 words (")) << out;
  EXPECT_FALSE(fs::exists(vocabulary / "D12A.TXT"));

  // Once more: nothing is missing any longer.
  EXPECT_EQ(Run({"--vocabulary", "--add-starter-words", PathText(destination)}), 0) << err;
  EXPECT_TRUE(Contains(out, PathText(vocabulary / "g10a.txt") + " holds every starter word already; nothing added\n"))
      << out;
  EXPECT_TRUE(test::ReadBytes(vocabulary / "g10a.txt") == mine + "\r\n" + added);
}

TEST_F(VocabularyTest, OneMissingStarterWordIsToldAsOneWord) {
  // The starter file without its first line, 盛土.
  const std::string starter(StarterG10A_TXT());
  test::WriteBytes(vocabulary / "G10A.TXT", starter.substr(starter.find("\r\n") + 2));
  EXPECT_EQ(Run({"--vocabulary", "--add-starter-words", PathText(destination)}), 0) << err;
  EXPECT_TRUE(Contains(out, "Added 1 word to " + PathText(vocabulary / "G10A.TXT") + ":\n  1,埋土,盛土,")) << out;
}

TEST_F(VocabularyTest, AFileThatCannotTakeTheStarterWordsInTheirPlaceIsLeftAsItIs) {
  const std::vector<std::string> files = {
      "950,x,\xE6\xB3\xA5\xE7\x82\xAD,y\r\n",      // UTF-8
      test::Sjis("950,x,泥炭,y\r\n951,x,腐植土"),  // ends inside a record
      test::Sjis("950,x,泥炭,y\r\n\x1a"),          // an end-of-file mark
  };
  for (const std::string& bytes : files) {
    test::WriteBytes(vocabulary / "G10A.TXT", bytes);
    EXPECT_EQ(Run({"--vocabulary", "--add-starter-words", PathText(destination)}), 1) << test::Escaped(bytes);
    EXPECT_TRUE(Contains(err, PathText(vocabulary / "G10A.TXT") + " ")) << err;
    EXPECT_EQ(test::ReadBytes(vocabulary / "G10A.TXT"), bytes);
  }
  // No vocabulary folder to add to.
  fs::remove_all(root / "A");
  EXPECT_EQ(Run({"--vocabulary", "--add-starter-words", PathText(destination)}), 1);
  EXPECT_FALSE(fs::exists(root / "A"));
}

TEST_F(VocabularyTest, ALinkInThePlaceOfTheFileIsReplacedNotWrittenThrough) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links are a POSIX test here: on Windows making one needs a privilege";
#endif
  test::WriteSjis(root / "elsewhere.txt", "950,x,珪藻土,y\r\n");
  fs::create_symlink(root / "elsewhere.txt", vocabulary / "G10A.TXT");
  const std::vector<StarterWordsAdded> added = AddStarterWords(Folder(vocabulary));
  EXPECT_EQ(added[0].lines.size(), 216u);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(vocabulary / "G10A.TXT")));
  EXPECT_TRUE(test::ReadBytes(vocabulary / "G10A.TXT") ==
              test::Sjis("950,x,珪藻土,y\r\n") + std::string(StarterG10A_TXT()))
      << test::Escaped(test::ReadBytes(vocabulary / "G10A.TXT"), 80);
  EXPECT_EQ(test::ReadSjis(root / "elsewhere.txt"), "950,x,珪藻土,y\r\n");
}

TEST_F(VocabularyTest, ARunAndABatchWarnOfTheVocabularyAndConvertAsBefore) {
  test::WriteSjis(vocabulary / "G10A.TXT", "600,x,粘土,y\r\n6OO,x,シルト岩,y\r\n");
  const std::string warning =
      PathText(vocabulary / "G10A.TXT") +
      ": line 2: the code \"6OO\" is not a whole number from -32768 to 32767; the line adds nothing";
  for (const char* boring : {"K1", "K2"}) test::WriteSjis(root / "site" / boring / "X1.TXT", "1,1.00,0,粘土\r\n");
  fs::create_directories(root / "system");
  const std::string system = PathText(root / "system");

  EXPECT_EQ(Run({"--yes", "--system-dir", system, PathText(root / "site" / "K1"), PathText(destination)}), 0);
  EXPECT_EQ(err, "kolbrix2vantor: warning: " + warning + "\n");
  EXPECT_EQ(test::ReadBytes(destination / "D10.txt"), "  1,   1.00,600,000\r\n");

  // Both borings read the one vocabulary folder: it is told once, and the
  // warning stands in each boring's row.
  const fs::path batch = destination.parent_path();
  EXPECT_EQ(Run({"--batch", "--yes", "--system-dir", system, PathText(root / "site"), PathText(batch)}), 0) << err;
  EXPECT_TRUE(Contains(out, "\nVocabulary folders:\n  " + Folder(vocabulary) +
                                ": G10A.TXT 1 word, D12A.TXT not found\n      " + warning + "\nReport: "))
      << out;
  const std::string report = test::ReadBytes(batch / "kolbrix2vantor-report.csv");
  const std::string row = ",変換済み," + CsvField("変換が正常に終了しました。\n" + warning) + ",1,0\r\n";
  EXPECT_TRUE(Contains(report, "\"K1\"" + row) && Contains(report, "\"K2\"" + row)) << report;
}

TEST_F(VocabularyTest, TheWarningsTheReportsRowAndTheCheckSpeakJapanese) {
  test::ScopedMessageLanguage japanese("ja_JP.UTF-8");
  test::WriteSjis(vocabulary / "G10A.TXT", "600,x,粘土,y\r\n6OO,x,シルト岩,y\r\n");
  const std::string warning =
      PathText(vocabulary / "G10A.TXT") +
      ": 2 行目: コード「6OO」が -32768 から 32767 までの整数ではありません。この行は読み飛ばします";
  test::WriteSjis(root / "site" / "K1" / "X1.TXT", "1,1.00,0,粘土\r\n");
  fs::create_directories(root / "system");
  const std::string system = PathText(root / "system");

  EXPECT_EQ(Run({"--yes", "--system-dir", system, PathText(root / "site" / "K1"), PathText(destination)}), 0);
  EXPECT_EQ(err, "kolbrix2vantor: 警告: " + warning + "\n");
  const fs::path batch = destination.parent_path();
  EXPECT_EQ(Run({"--batch", "--yes", "--system-dir", system, PathText(root / "site"), PathText(batch)}), 0) << err;
  EXPECT_TRUE(Contains(test::ReadBytes(batch / "kolbrix2vantor-report.csv"),
                       "\"K1\",変換済み," + CsvField("変換が正常に終了しました。\n" + warning) + ",1,0\r\n"));

  EXPECT_EQ(Run({"--vocabulary", PathText(destination)}), 0) << err;
  EXPECT_EQ(out, PathText(destination) + " への変換が追加ファイルを読むフォルダ: " + Folder(vocabulary) +
                     "\nG10A.TXT: 1 語 (" + PathText(vocabulary / "G10A.TXT") + ")\n  " +
                     warning.substr(warning.find("2 行目")) + "\nD12A.TXT: なし\n");
}

TEST_F(VocabularyTest, WrongUsageExitsWithTwo) {
  EXPECT_EQ(Run({"--vocabulary"}), 2);
  EXPECT_TRUE(Contains(err, "kolbrix2vantor: expected DESTINATION\nUsage: kolbrix2vantor --vocabulary")) << err;
  EXPECT_EQ(Run({"--vocabulary", "a", "b"}), 2);
  EXPECT_EQ(Run({"--vocabulary", "--yes", "a"}), 2);
  EXPECT_EQ(Run({"--add-starter-words", "a", "b"}), 2);
  EXPECT_TRUE(Contains(err, "option '--add-starter-words' goes with --vocabulary")) << err;
  EXPECT_EQ(Run({"--vocabulary", "--help"}), 0);
  EXPECT_TRUE(Contains(out, "--add-starter-words")) << out;
}

}  // namespace
}  // namespace k2v
