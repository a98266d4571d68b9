#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "convert/boring_records.hpp"
#include "convert/radudi_setting.hpp"
#include "convert/x6_records.hpp"
#include "platform/files.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

// A list file of Vantor: records of a number and a name.
std::string ListFile(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) text += std::to_string(i + 1) + "," + names[i] + "\r\n";
  return text;
}

const std::vector<std::string> kL9 = {"玉石", "礫",     "砂",   "シルト", "粘土",   "有機質土", "火山灰",  "貝殻",
                                      "木片", "腐植物", "雲母", "軽石",   "炭化物", "根",       "スコリア"};
// Entries 1 and 15 are names only this list knows.
const std::vector<std::string> kL22 = {"ガラス", "礫",     "砂",   "シルト", "粘土",   "有機質土", "火山灰", "貝殻",
                                       "木片",   "腐植物", "雲母", "軽石",   "炭化物", "根",       "転石"};

class X6RecordsTest : public test::ConversionTest {
 protected:
  void SetUp() override {
    fs::create_directories(root / "system");
    ctx.SystemDirs = {(root / "system").string()};
  }
  void Settings(const std::vector<std::string>& l9, const std::vector<std::string>& l22) {
    test::WriteSjis(root / "system" / "Radudi32.ini", "[RADUDI]\r\n" + Radudi() + "\r\n");
    test::WriteSjis(root / "radudi" / "L9.txt", ListFile(l9));
    test::WriteSjis(root / "radudi" / "L22.txt", ListFile(l22));
  }
  std::string Radudi() const { return (root / "radudi").string() + "/"; }
  void Source(const std::string& utf8) const { ConversionTest::Source("X6.TXT", utf8); }
};

TEST_F(X6RecordsTest, ReadRadudiSettingTakesTheFirstItemOfLineTwo) {
  const std::map<std::string, std::string> cases = {
      {"[R]\r\n/opt/radudi/\r\n", "/opt/radudi/"},
      {"[R]\n  /opt/radudi/ ,second\n", "/opt/radudi/"},
      {"[R]\r/opt/radudi/\r", "/opt/radudi/"},
      {"[R],x\r\n\" /opt/ra,dudi/ \"\r\nthird\r\n", "/opt/ra,dudi/"},
      {"\r\n/opt/radudi/", "/opt/radudi/"},
      {"[R]\r\n", ""},
      {"[R]", ""},
      {"[R]\r\n\r\n/opt/radudi/\r\n", ""},
  };
  for (const auto& [content, expected] : cases) {
    test::WriteBytes(root / "system" / "Radudi32.ini", content);
    EXPECT_EQ(ReadRadudiSetting(ctx.SystemDirs[0]), expected) << content;
  }
  test::WriteBytes(root / "system" / "Radudi32.ini", "");
  EXPECT_EQ(ReadRadudiSetting(ctx.SystemDirs[0]), "");
  fs::remove(root / "system" / "Radudi32.ini");
  EXPECT_EQ(ReadRadudiSetting(ctx.SystemDirs[0]), "");
  EXPECT_FALSE(fs::exists(root / "system" / "Radudi32.ini"));
}

TEST_F(X6RecordsTest, ListsAreReadFromTheFolderTheSettingsName) {
  Settings(kL9, kL22);
  // Records after the 15th are not read; quoted names lose their quotes.
  test::WriteSjis(root / "radudi" / "L22.txt", ListFile(kL22) + "16,余分\r\n");
  test::WriteSjis(root / "radudi" / "L9.txt", "1,\" 玉石 \"\n" + ListFile(kL9).substr(ListFile(kL9).find('\n') + 1));
  X6ItemLists lists;
  std::string problem;
  ASSERT_TRUE(LoadX6ItemLists(ctx.SystemDirs, lists, problem)) << problem;
  EXPECT_EQ(lists.RadudiSettingPath, Radudi());
  EXPECT_EQ(lists.L9Names[0], " 玉石 ");
  EXPECT_EQ(lists.L9Names[14], "スコリア");
  EXPECT_EQ(lists.L22Names[14], "転石");
  std::array<bool, 15> only{};
  only[0] = true;
  only[14] = true;
  EXPECT_EQ(lists.L22OnlyFlags, only);
}

TEST_F(X6RecordsTest, FlagsEachRecordAgainstBothLists) {
  Settings(kL9, kL22);
  Source(
      test::Record68(
          {{2, "B-1"}, {3, "5"}, {5, "1.5"}, {6, "12"}, {7, "12.6"}, {8, "0"}, {29, "砂"}, {35, "\" 転石 \""}}) +
      // Items both lists know: D40.txt only.
      test::Record68(
          {{2, "ボーリング孔A"}, {3, "12.5"}, {5, "abc"}, {7, "-2.5"}, {8, "1234"}, {40, "礫"}, {48, "シルト"}}) +
      test::Record68(
          {{2, "C"}, {3, "x"}, {5, "-0.125"}, {6, "99999.999"}, {8, "7"}, {29, "ガラス"}, {31, "玉石"}, {33, "転石"}}) +
      test::Record68({{2, "D"}, {3, "0"}, {5, "0"}, {6, "0.0"}, {7, "0"}, {8, "0.4"}}));
  EXPECT_TRUE(ConvertX6(ctx).Warnings.empty());
  EXPECT_EQ(Output("D40.txt"), test::CrLfLines({
                                   "  1,B-1   ,05,   1.50,  12.00, 13,  0,001000000000000",
                                   "  2,ボーリング孔,13,    abc,       , -3,234,010100000000000",
                                   "  3,C     ,x,  -0.13,0000.00,   ,  7,100000000000000",
                                   "  4,D     ,00,   0.00,   0.00,  0,  0,000000000000000",
                               }));
  // G40.txt keeps the record numbers of D40.txt.
  EXPECT_EQ(Output("G40.txt"), test::CrLfLines({
                                   "  1,B-1   ,05,   1.50,  12.00, 13,  0,001000000000001",
                                   "  3,C     ,x,  -0.13,0000.00,   ,  7,100000000000001",
                               }));
}

TEST_F(X6RecordsTest, G40IsCreatedEvenWithoutLines) {
  Settings(kL9, kL22);
  test::WriteBytes(root / "dest" / "G40.txt", "older\r\n");
  Source(test::Record68({{2, "A"}, {3, "1"}, {29, "礫"}}));
  ConvertX6(ctx);
  EXPECT_EQ(Output("D40.txt"), test::CrLfLines({"  1,A     ,01,       ,       ,   ,   ,010000000000000"}));
  EXPECT_EQ(Output("G40.txt"), "");
}

TEST_F(X6RecordsTest, AnEmptyL22EntryMatchesEveryEmptyItemField) {
  std::vector<std::string> l22 = kL9;
  l22[4] = "\"  \"";
  Settings(kL9, l22);
  Source(test::Record68({{2, "A"}, {29, "礫"}}) + test::Record68({{2, "B"}, {29, "礫"}}));
  ConvertX6(ctx);
  EXPECT_EQ(Output("G40.txt"), test::CrLfLines({
                                   "  1,A     ,,       ,       ,   ,   ,010010000000000",
                                   "  2,B     ,,       ,       ,   ,   ,010010000000000",
                               }));
}

TEST_F(X6RecordsTest, AnEmptyL9EntryFlagsEveryRecordWithAnEmptyItemField) {
  std::vector<std::string> l9 = kL9;
  l9[3] = "";
  std::vector<std::string> l22 = kL22;
  l22[3] = "\" \"";
  Settings(l9, l22);
  std::map<int, std::string> allItemsGiven{{2, "B"}, {29, "礫"}};
  for (int a = 30; a <= 48; ++a) allItemsGiven[a] = "x";
  Source(test::Record68({{2, "A"}, {29, "礫"}}) + test::Record68(allItemsGiven));
  ConvertX6(ctx);
  // Entry 4 is empty in both lists, so it is no item of L22.txt alone.
  EXPECT_EQ(Output("D40.txt"), test::CrLfLines({
                                   "  1,A     ,,       ,       ,   ,   ,010100000000000",
                                   "  2,B     ,,       ,       ,   ,   ,010000000000000",
                               }));
  EXPECT_EQ(Output("G40.txt"), "");
}

TEST_F(X6RecordsTest, UnusableSettingsWriteNothingAndWarnTheUser) {
  struct Case {
    std::string what;
    std::function<void()> breakSettings;
    std::string warning;
  };
  const std::string ini = JoinPath((root / "system").string(), "Radudi32.ini");
  const std::vector<Case> cases = {
      {"no settings file", [&] { fs::remove(root / "system" / "Radudi32.ini"); },
       "X6.TXT を変換できませんでした。Radudi32.ini がありません: " + ini},
      {"empty settings file", [&] { test::WriteBytes(root / "system" / "Radudi32.ini", ""); },
       "X6.TXT を変換できませんでした。Radudi32.ini が空です: " + ini},
      {"no folder on line 2", [&] { test::WriteBytes(root / "system" / "Radudi32.ini", "[R]\n\"  \"\n"); },
       "X6.TXT を変換できませんでした。Radudi32.ini の2行目にパターンデータのフォルダがありません: " + ini},
      {"L9.txt missing", [&] { fs::remove(root / "radudi" / "L9.txt"); },
       "X6.TXT を変換できませんでした。L9.txt がありません: " + Radudi() + "L9.txt"},
      {"L22.txt short",
       [&] {
         test::WriteSjis(root / "radudi" / "L22.txt", ListFile(std::vector<std::string>(kL22.begin(), kL22.end() - 1)));
       },
       "X6.TXT を変換できませんでした。L22.txt の項目が15行に足りません: " + Radudi() + "L22.txt"},
  };
  for (const Case& c : cases) {
    Settings(kL9, kL22);
    c.breakSettings();
    test::WriteBytes(root / "dest" / "D40.txt", "older\r\n");
    fs::remove(root / "dest" / "G40.txt");
    Source(test::Record68({{2, "A"}, {29, "砂"}}));
    EXPECT_EQ(ConvertX6(ctx).Warnings, std::vector<std::string>{c.warning}) << c.what;
    EXPECT_EQ(Output("D40.txt"), "older\r\n") << c.what;
    EXPECT_FALSE(fs::exists(root / "dest" / "G40.txt")) << c.what;
  }
  // The missing settings file was not created.
  fs::remove(root / "system" / "Radudi32.ini");
  ConvertX6(ctx);
  EXPECT_FALSE(fs::exists(root / "system" / "Radudi32.ini"));
}

TEST_F(X6RecordsTest, FolderOnLineTwoWithoutItsFinalSeparatorGetsOne) {
  Settings(kL9, kL22);
  const std::string folder = (root / "radudi").string();
  test::WriteSjis(root / "system" / "Radudi32.ini", "[RADUDI]\r\n" + folder + "\r\n");
  X6ItemLists lists;
  std::string problem;
  ASSERT_TRUE(LoadX6ItemLists(ctx.SystemDirs, lists, problem)) << problem;
  EXPECT_EQ(lists.RadudiSettingPath, folder + test::Sep());
  EXPECT_EQ(lists.L9Names[14], "スコリア");
}

TEST_F(X6RecordsTest, WarningShowsControlCharactersOfLineTwoAsPictures) {
  Settings(kL9, kL22);
  test::WriteBytes(root / "system" / "Radudi32.ini", std::string("[R]\r\n/opt/a\x1b[2Jb\x01/\r\n"));
  Source(test::Record68({{2, "A"}}));
  EXPECT_EQ(ConvertX6(ctx).Warnings,
            std::vector<std::string>{"X6.TXT を変換できませんでした。L9.txt がありません: /opt/a␛[2Jb␁/L9.txt"});
}

TEST_F(X6RecordsTest, WithoutX6DataNothingHappens) {
  // No settings either: there is nothing to warn about.
  EXPECT_TRUE(ConvertX6(ctx).Warnings.empty());
  Source("");
  EXPECT_TRUE(ConvertX6(ctx).Warnings.empty());
  EXPECT_TRUE(fs::exists(root / "export" / "X6.TXT"));
  EXPECT_TRUE(fs::is_empty(root / "dest"));
  EXPECT_TRUE(fs::is_empty(root / "system"));
}

}  // namespace
}  // namespace k2v
