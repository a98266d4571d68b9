#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.hpp"
#include "run/conversion_run.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

// A source folder holding a minimal export and an empty place for the destination.
class ConversionRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = root.path() / "export";
    fs::create_directories(source);
    test::WriteSjis(source / "X1.TXT", "1,3.50,0,砂混りシルト\r\n");
  }

  RunResult RunWith(const std::string& src, const std::string& dst) {
    ConversionRun run(ui, rules, RunOptions{PathText(root / "system")});
    RunResult result = run.Run(src, dst);
    statusPending = run.StatusPending;
    return result;
  }

  test::TempDir root;
  fs::path source;
  test::RecordingFrontEnd ui;
  const PathRules& rules = NativePathRules();
  int statusPending = 0;
};

TEST_F(ConversionRunTest, FinishedRunShowsItsStatusAndLeavesTheSourceUntouched) {
  fs::create_directories(root / "out");
  auto before = test::Snapshot(source);
  RunResult result = RunWith(source.string(), (root / "out").string());
  EXPECT_EQ(result.outcome, RunOutcome::Finished);
  EXPECT_EQ(ui.statuses,
            (std::vector<std::string>{"只今変換中！　しばらくお待ちください。", "変換が正常に終了しました。"}));
  EXPECT_EQ(ui.eventPasses, 1);
  EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(statusPending, 1);
  EXPECT_EQ(test::Snapshot(source), before);
}

TEST_F(ConversionRunTest, EmptySourceBoxGivesTwoMessagesAndFocusesTheSource) {
  RunResult result = RunWith("   ", (root / "out").string());
  EXPECT_EQ(result.outcome, RunOutcome::Refused);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(ui.messages[1].text, "指定されたパスは正しくありません。");
  EXPECT_EQ(ui.messages[1].title, "");
  EXPECT_EQ(ui.messages[1].icon, MessageIcon::Exclamation);
  EXPECT_EQ(ui.messages[1].buttons, MessageButtons::Ok);
  EXPECT_EQ(ui.focus, (std::vector<PathBox>{PathBox::Source}));
  EXPECT_EQ(ui.statuses.back(), "");
  EXPECT_TRUE(ui.busyChanges.empty());
}

TEST_F(ConversionRunTest, InvalidDestinationIsTitledWithItsTrimmedPath) {
#ifdef _WIN32
  RunResult result = RunWith(PathText(source), "  C:\\a\\\\b  ");
#else
  RunResult result = RunWith(source.string(), "  /a//b  ");
#endif
  EXPECT_EQ(result.outcome, RunOutcome::Refused);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "指定されたパスは正しくありません。");
#ifdef _WIN32
  EXPECT_EQ(ui.messages[0].title, "C:\\a\\\\b\\");
#else
  EXPECT_EQ(ui.messages[0].title, "/a//b/");
#endif
  EXPECT_EQ(ui.focus, (std::vector<PathBox>{PathBox::Destination}));
}

TEST_F(ConversionRunTest, DestinationTypedWithFinalSeparatorIsRefusedTitledWithTheSource) {
  RunResult result = RunWith(" " + PathText(source) + " ", PathText(root / "out") + test::Sep());
  EXPECT_EQ(result.outcome, RunOutcome::Refused);
  ASSERT_EQ(ui.messages.size(), 1u);
#ifdef _WIN32
  EXPECT_EQ(ui.messages[0].text, "最後のﾌｫﾙﾀﾞに「￥」は要りません。");
#else
  EXPECT_EQ(ui.messages[0].text, "最後のﾌｫﾙﾀﾞに「/」は要りません。");
#endif
  EXPECT_EQ(ui.messages[0].title, PathText(source) + test::Sep());
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_TRUE(ui.focus.empty());
  EXPECT_FALSE(fs::exists(root / "out"));
}

TEST_F(ConversionRunTest, SameFolderIsRefusedBeforeTheDataCheck) {
  fs::remove(source / "X1.TXT");
  RunResult result = RunWith(source.string(), (source / ".").string());
  EXPECT_EQ(result.outcome, RunOutcome::Refused);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "変換元と変換先に同じﾌｫﾙﾀﾞは指定できません。");
  EXPECT_EQ(ui.messages[0].title, PathText(source) + test::Sep());
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
}

TEST_F(ConversionRunTest, MissingOrEmptyX1IsNoDataAndCreatesNothing) {
  fs::remove(source / "X1.TXT");
  RunResult result = RunWith(source.string(), (root / "out").string());
  EXPECT_EQ(result.outcome, RunOutcome::Refused);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "データがありません。");
  EXPECT_EQ(ui.messages[0].title, PathText(source) + test::Sep());
  EXPECT_TRUE(fs::is_empty(source));
  EXPECT_FALSE(fs::exists(root / "out"));

  test::WriteBytes(source / "x1.txt", "");
  ui = test::RecordingFrontEnd();
  EXPECT_EQ(RunWith(source.string(), (root / "out").string()).outcome, RunOutcome::Refused);
  EXPECT_EQ(ui.messages.at(0).text, "データがありません。");
}

TEST_F(ConversionRunTest, MissingDestinationLevelsAreCreatedTopDownOnYes) {
  fs::path destination = root / "NEW1" / "NEW2";
  ui.answers = {MessageAnswer::Yes};
  RunResult result = RunWith(source.string(), destination.string());
  EXPECT_EQ(result.outcome, RunOutcome::Finished);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "ﾌｫﾙﾀﾞがありません。新規作成しますか？");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_TRUE(fs::is_directory(destination));
}

TEST_F(ConversionRunTest, NoToTheFolderQuestionCreatesNothing) {
  fs::path destination = root / "NEW1" / "NEW2";
  ui.answers = {MessageAnswer::No};
  RunResult result = RunWith(source.string(), destination.string());
  EXPECT_EQ(result.outcome, RunOutcome::Refused);
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_FALSE(fs::exists(root / "NEW1"));
  EXPECT_EQ(ui.statuses.back(), "");
}

TEST_F(ConversionRunTest, ExistingDestinationAsksNothing) {
  fs::create_directories(root / "A" / "B");
  EXPECT_EQ(RunWith(source.string(), (root / "A" / "B").string()).outcome, RunOutcome::Finished);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConversionRunTest, FileOperationFailureIsReportedNeverAsSuccess) {
  // A plain file stands where a destination folder must be made.
  test::WriteBytes(root / "blocked", "x");
  ui.answers = {MessageAnswer::Yes};
  RunResult result = RunWith(source.string(), (root / "blocked" / "out").string());
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].icon, MessageIcon::Critical);
  EXPECT_NE(ui.messages[1].text.find((root / "blocked").string()), std::string::npos);
  EXPECT_EQ(ui.statuses.back(), "変換中にエラーが発生しました。");
  for (const auto& s : ui.statuses) EXPECT_NE(s, "変換が正常に終了しました。");
}

}  // namespace
}  // namespace k2v
