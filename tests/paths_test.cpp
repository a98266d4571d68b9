#include <gtest/gtest.h>

#include <filesystem>

#include "run/paths.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

struct PathCase {
  const char* input;
  bool valid;
  const char* after;
  bool driveMessage;
};

// Checks each case against the rules; a refused form shows message, with the
// information icon and the default title.
template <size_t N>
void CheckCases(const PathRules& rules, const PathCase (&cases)[N], const std::string& message) {
  for (const auto& c : cases) {
    test::RecordingFrontEnd ui;
    std::string path = c.input;
    EXPECT_EQ(rules.ValidatePath(path, ui), c.valid) << c.input;
    EXPECT_EQ(path, c.after) << c.input;
    ASSERT_EQ(ui.messages.size(), c.driveMessage ? 1u : 0u) << c.input;
    if (c.driveMessage) {
      EXPECT_EQ(ui.messages[0].text, message);
      EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
      EXPECT_EQ(ui.messages[0].title, "");
    }
  }
}

TEST(WindowsPathRules, NormaliseAndRefuseAsVantorExpects) {
  // Drives C and D exist; Q does not.
  WindowsPathRules rules([](char d) { return d == 'C' || d == 'c' || d == 'D'; });
  const PathCase cases[] = {
      {"C:\\DATA", true, "C:\\DATA\\", false},
      {"  C:\\DATA  ", true, "C:\\DATA\\", false},
      {"C:", true, "C:\\", false},
      {"C:DATA", true, "C:\\DATA\\", false},
      {"C:\\DATA\\\\SUB", false, "C:\\DATA\\\\SUB\\", false},
      {"C:\\DA*TA", false, "C:\\DA*TA", false},
      {"C:\\DA?TA", false, "C:\\DA?TA", false},
      {"", false, "", true},
      {"  \\\\server\\share ", false, "\\\\server\\share", true},
      {"Q:\\DATA", false, "Q:\\DATA", false},
      {"C:\\MY DATA", true, "C:\\MY DATA\\", false},
      {"c:\\現場\\ﾃﾞｰﾀ", true, "c:\\現場\\ﾃﾞｰﾀ\\", false},
  };
  CheckCases(rules, cases,
             "規定値のドライブ名が正しくありません。ドライブ名は１文字のアルファベットと \":\" でなければいけません。"
             "  例 \"C:\", \"D:\"...");
  EXPECT_EQ(rules.TrailingSeparatorMessage(), "最後のﾌｫﾙﾀﾞに「￥」は要りません。");
}

TEST(PosixPathRules, NormaliseAndRefuse) {
  PosixPathRules rules;
  const PathCase cases[] = {
      {"/home/data", true, "/home/data/", false},
      {"  /home/data  ", true, "/home/data/", false},
      {"/", true, "/", false},
      {"/home//data", false, "/home//data/", false},
      {"/home/da*ta", false, "/home/da*ta", false},
      {"/home/da?ta", false, "/home/da?ta", false},
      {"", false, "", true},
      {"home/data", false, "home/data", true},
      {"/home/MY DATA", true, "/home/MY DATA/", false},
      {"/現場/ﾃﾞｰﾀ", true, "/現場/ﾃﾞｰﾀ/", false},
  };
  CheckCases(rules, cases,
             "規定値のパスが正しくありません。パスは \"/\" で始まらなければいけません。  例 \"/home\", \"/mnt\"...");
  EXPECT_EQ(rules.TrailingSeparatorMessage(), "最後のﾌｫﾙﾀﾞに「/」は要りません。");
  EXPECT_EQ(rules.GanbanMissingMessage(), " Ｖａｎｔｏｒのﾌｫﾙﾀﾞ（/GANBAN）がありません.");
}

#ifdef _WIN32
// The native rules ask the real drives: C: is Wine's Windows drive.
TEST(WindowsPathRules, NativeRulesKnowTheDrivesOfThisMachine) {
  const PathRules& rules = NativePathRules();
  EXPECT_EQ(rules.Separator(), '\\');
  char missing = 0;
  for (char letter = 'Z'; letter >= 'D' && !missing; --letter) {
    std::error_code ec;
    if (!std::filesystem::exists(std::string{letter, ':', '\\'}, ec)) missing = letter;
  }
  ASSERT_NE(missing, 0) << "every letter is a drive";
  const std::string absent = std::string{missing, ':', '\\'} + "DATA";
  const PathCase cases[] = {
      {"C:\\DATA", true, "C:\\DATA\\", false},
      {"c:DATA", true, "c:\\DATA\\", false},
      {"C:", true, "C:\\", false},
      {absent.c_str(), false, absent.c_str(), false},
      {"/home/data", false, "/home/data", true},
  };
  CheckCases(rules, cases,
             "規定値のドライブ名が正しくありません。ドライブ名は１文字のアルファベットと \":\" でなければいけません。"
             "  例 \"C:\", \"D:\"...");
}
#endif

}  // namespace
}  // namespace k2v
