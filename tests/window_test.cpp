// The window's behaviour (Form1) against a fake view: start-up, the
// handlers, the lists' contents and the messages, without a toolkit.

#include <gtest/gtest.h>

#include <filesystem>

#include "fake_form1_view.hpp"
#include "platform/files.hpp"
#include "platform/system_folders.hpp"
#include "run/conversion_run.hpp"
#include "run/paths.hpp"
#include "test_support.hpp"
#include "window/form1.hpp"

namespace fs = std::filesystem;

namespace k2v {
namespace {

using test::FakeForm1View;

const std::string kCaption = "Kolbrix -> Vantor 変換プログラム";
const std::string kLayer = "1,3.50,0,砂混りシルト\r\n";

std::vector<std::string> Texts(const std::vector<FolderRow>& rows) {
  std::vector<std::string> texts;
  for (const FolderRow& r : rows) texts.push_back(r.text);
  return texts;
}

std::vector<std::string> Texts(const std::vector<MessageBoxContent>& boxes) {
  std::vector<std::string> texts;
  for (const MessageBoxContent& b : boxes) texts.push_back(b.text);
  return texts;
}

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : savedCwd_(fs::current_path()) {
    fs::create_directories(At("volA/work"));
    fs::create_directories(At("volB/data"));
    fs::create_directories(At("system"));
    test::WriteBytes(At("prog/RADUDI/kishitu.txt"), "pattern");
    fs::current_path(At("volA/work"));
  }
  ~WindowTest() override { fs::current_path(savedCwd_); }

  fs::path At(const std::string& relative) const { return root_.path() / test::Native(relative); }
  std::string S(const std::string& relative) const { return PathText(At(relative)); }
  std::string Cwd() const { return PathText(fs::current_path()); }

  // Two drives (volA, volB) and a program folder with RADUDI beside it.
  WindowSetup TestSetup() const {
    WindowSetup s;
    s.volumes = {Volume{S("volA"), "ext4", "/dev/a"}, Volume{S("volB"), "", ""}};
    s.programFolder = S("prog");
    s.runOptions.systemDir = S("system");
    return s;
  }

  test::TempDir root_;
  fs::path savedCwd_;
  FakeForm1View view;
};

TEST_F(WindowTest, ListsStartOnTheCurrentFolderAndDriveWithEmptyPathBoxes) {
  Form1 form(view, TestSetup());
  for (Side side : {Side::Source, Side::Destination}) {
    EXPECT_EQ(form.Dir(side).Path(), S("volA/work"));
    ASSERT_FALSE(view.Of(side).folderRows.empty());
    EXPECT_EQ(view.Of(side).folderRows.back().path, S("volA/work"));  // no subfolders below it
    EXPECT_TRUE(view.Of(side).folderRows.back().current);
    EXPECT_EQ(view.Of(side).drive, 0);
    ASSERT_EQ(view.Of(side).driveRows.size(), 2u);
    EXPECT_EQ(view.Of(side).driveRows[0].text, S("volA"));
    EXPECT_EQ(view.Of(side).driveRows[0].tip, "/dev/a (ext4)");
    EXPECT_EQ(view.Of(side).driveRows[1].tip, "");
    EXPECT_EQ(view.Of(side).text, "");
  }
}

TEST_F(WindowTest, FolderListShowsItsFolderUnderThoseThatHoldItAboveItsVisibleSubfoldersAndOpensThem) {
  test::WriteBytes(At("volB/file.txt"), "x");
  fs::create_directories(At("volB/beta"));
  fs::create_directories(At("volB/Alpha"));
#ifndef _WIN32
  fs::create_directories(At("volB/.hidden"));
#endif
  Form1 form(view, TestSetup());
  form.PathDropped(Side::Destination, S("volB"));
  const std::vector<FolderRow>& rows = view.destination.folderRows;
  const int current = form.Dir(Side::Destination).CurrentRow();
  ASSERT_GE(current, 2);
  const size_t at = static_cast<size_t>(current);
  EXPECT_EQ(rows[0].text, PathText(root_.path().root_path()));
  EXPECT_EQ(rows[at - 1].path, PathText(root_.path()));
  EXPECT_EQ(rows[at].text, "volB");
  EXPECT_TRUE(rows[at].current);
  for (size_t i = 0; i <= at; ++i) EXPECT_EQ(rows[i].depth, static_cast<int>(i));
  EXPECT_EQ(Texts(std::vector<FolderRow>(rows.begin() + current + 1, rows.end())),
            (std::vector<std::string>{"Alpha", "beta", "data"}));
  EXPECT_EQ(rows[at + 1].path, S("volB/Alpha"));
  EXPECT_EQ(rows[at + 1].depth, current + 1);

  form.FolderRowOpened(Side::Destination, current + 1);
  EXPECT_EQ(form.Dir(Side::Destination).Path(), S("volB/Alpha"));
  EXPECT_EQ(view.destination.text, S("volB/Alpha"));
  form.FolderUp(Side::Destination);
  EXPECT_EQ(view.destination.text, S("volB"));
  form.FolderRowOpened(Side::Destination, current - 1);  // a folder that holds it
  EXPECT_EQ(view.destination.text, PathText(root_.path()));
  form.FolderRowOpened(Side::Destination, 999);  // no such row: nothing happens
  EXPECT_EQ(view.destination.text, PathText(root_.path()));

  // At a root there is no way up.
  FolderList top;
  ASSERT_TRUE(top.Open(PathText(root_.path().root_path())));
  EXPECT_EQ(top.CurrentRow(), 0);
  EXPECT_EQ(top.Parent(), "");
}

TEST_F(WindowTest, FolderChangeSetsThePathBoxTheCurrentFolderAndTheDrive) {
  Form1 form(view, TestSetup());
  form.PathDropped(Side::Destination, S("volB/data"));
  EXPECT_EQ(view.destination.text, S("volB/data"));
  EXPECT_EQ(Cwd(), S("volB/data"));
  EXPECT_EQ(form.Drive(Side::Destination), 1);
  EXPECT_EQ(view.destination.drive, 1);
  EXPECT_EQ(view.source.drive, 0);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(WindowTest, DroppedFileOrFolderMovesThatSideThere) {
  Form1 form(view, TestSetup());
  test::WriteBytes(At("volB/data/X1.TXT"), "x");
  EXPECT_TRUE(form.PathDropped(Side::Source, S("volB/data/X1.TXT")));
  EXPECT_EQ(view.source.text, S("volB/data"));
  EXPECT_EQ(form.Dir(Side::Source).Path(), S("volB/data"));
  EXPECT_EQ(form.Dir(Side::Destination).Path(), S("volA/work"));
  EXPECT_FALSE(form.PathDropped(Side::Destination, S("volB/missing")));
  EXPECT_EQ(view.destination.text, "");
}

TEST_F(WindowTest, LoadFindsRadudiBesideTheProgramAndOpensTheSourceGanban) {
  fs::create_directories(At("volA/ganban"));
  Form1 form(view, TestSetup());
  ASSERT_TRUE(form.Form_Load());
  EXPECT_EQ(view.centred, 1);
  EXPECT_EQ(view.status, "RADUDI フォルダ: " + S("prog/RADUDI/"));
  EXPECT_EQ(form.StatusPending(), 0);
  EXPECT_EQ(form.Dir(Side::Source).Path(), S("volA/ganban"));
  EXPECT_EQ(view.source.text, S("volA/ganban"));
  EXPECT_EQ(form.Dir(Side::Destination).Path(), S("volA/work"));
  EXPECT_EQ(Cwd(), S("volA/ganban"));
  EXPECT_TRUE(view.messages.empty());
  EXPECT_TRUE(view.searchShown.empty());
}

TEST_F(WindowTest, LoadWithoutGanbanLeavesTheListsAlone) {
  Form1 form(view, TestSetup());
  ASSERT_TRUE(form.Form_Load());
  EXPECT_EQ(form.Dir(Side::Source).Path(), S("volA/work"));
  EXPECT_EQ(view.source.text, "");
}

TEST_F(WindowTest, LoadSearchesTheDrivesWhenNothingIsBesideTheProgram) {
  fs::remove_all(At("prog/RADUDI"));
  test::WriteBytes(At("volB/data/radudi/KISHITU.TXT"), "x");
  WindowSetup setup = TestSetup();
  setup.searchWindowDelay = std::chrono::hours(1);
  Form1 form(view, setup);
  ASSERT_TRUE(form.Form_Load());
  EXPECT_EQ(view.status, "RADUDI フォルダ: " + S("volB/data/radudi/"));
  // A quick search lets events through but shows no window.
  EXPECT_GT(view.eventPasses, 0);
  EXPECT_TRUE(view.searchShown.empty());
  EXPECT_EQ(view.searchEnded, 0);
}

TEST_F(WindowTest, LoadWithoutRadudiSaysWhereItLookedAndEnds) {
  test::WriteBytes(At("prog/RADUDI/kishitu.txt"), "");  // empty: does not count
  Form1 form(view, TestSetup());
  EXPECT_FALSE(form.Form_Load());
  ASSERT_EQ(view.messages.size(), 1u);
  const MessageBoxContent& box = view.messages[0];
  EXPECT_EQ(box.text.rfind(" RADUDI の設定がありません.\n\n探した場所:\n  " + JoinPath(S("prog"), "RADUDI"), 0), 0u)
      << box.text;
  EXPECT_NE(box.text.find("  " + S("volA") + " 以下のすべてのフォルダ\n"), std::string::npos);
  EXPECT_NE(box.text.find("  " + S("volB") + " 以下のすべてのフォルダ\n"), std::string::npos);
  EXPECT_TRUE(box.text.ends_with("--radudi DIR で起動するか、\n環境変数 KOLBRIX2VANTOR_RADUDI で指定できます。"));
  EXPECT_FALSE(box.icon.has_value());
  EXPECT_EQ(box.buttons, MessageButtons::Ok);
  EXPECT_EQ(box.title, kCaption);
}

TEST_F(WindowTest, SearchWindowAppearsAfterItsDelayAndItsCancelEndsTheSearch) {
  fs::remove_all(At("prog/RADUDI"));
  for (const char* name : {"volA/a1/x", "volA/a2/x", "volA/a3/x"}) fs::create_directories(At(name));
  test::WriteBytes(At("volB/data/RADUDI/kishitu.txt"), "x");
  WindowSetup setup = TestSetup();
  setup.searchWindowDelay = std::chrono::milliseconds(0);
  view.cancelAfter = 0;  // pressed while the first folder shows
  Form1 form(view, setup);
  EXPECT_FALSE(form.Form_Load());
  EXPECT_EQ(view.searchShown.size(), 1u);
  EXPECT_EQ(view.searchEnded, 1);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_NE(view.messages[0].text.find("検索はキャンセルされました。\n"), std::string::npos);
}

TEST_F(WindowTest, NamedRadudiReplacesTheSearch) {
  test::WriteBytes(At("volB/mine/kishitu.txt"), "pattern");
  WindowSetup setup = TestSetup();
  setup.givenRadudi = S("volB/mine");
  setup.givenRadudiBy = "--radudi";
  {
    Form1 form(view, setup);
    ASSERT_TRUE(form.Form_Load());
    EXPECT_EQ(view.status, "RADUDI フォルダ: " + S("volB/mine/"));
  }
  // A named folder that is no RADUDI folder is not replaced by a search.
  setup.givenRadudi = S("volB/data");
  Form1 form(view, setup);
  EXPECT_FALSE(form.Form_Load());
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_NE(view.messages[0].text.find("--radudi のフォルダに kishitu.txt がありません: " + S("volB/data") + "\n"),
            std::string::npos);
  EXPECT_EQ(view.eventPasses, 0);
}

TEST_F(WindowTest, DestinationDriveWithGanbanShowsItWithoutMessage) {
  fs::create_directories(At("volB/GANBAN"));
  Form1 form(view, TestSetup());
  form.DriveChosen(Side::Destination, 1);
  EXPECT_EQ(form.Dir(Side::Destination).Path(), S("volB/GANBAN"));
  EXPECT_EQ(view.destination.text, S("volB/GANBAN"));
  EXPECT_EQ(Cwd(), S("volB/GANBAN"));
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(WindowTest, DestinationDriveWithoutGanbanTellsOnceEachTimeItIsPicked) {
  Form1 form(view, TestSetup());
  form.DriveChosen(Side::Destination, 1);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text, NativePathRules().GanbanMissingMessage());
  EXPECT_EQ(view.messages[0].buttons, MessageButtons::Ok);
  EXPECT_FALSE(view.messages[0].icon.has_value());
  EXPECT_EQ(form.Dir(Side::Destination).Path(), S("volA/work"));
  EXPECT_EQ(view.destination.text, "");
  EXPECT_EQ(form.Drive(Side::Destination), 1);
  EXPECT_EQ(Cwd(), S("volB"));
  // The drive already shown, picked again, runs the handler again.
  form.DriveChosen(Side::Destination, 1);
  EXPECT_EQ(view.messages.size(), 2u);
  fs::create_directories(At("volB/ganban"));
  form.DriveChosen(Side::Destination, 1);
  EXPECT_EQ(view.messages.size(), 2u);
  EXPECT_EQ(view.destination.text, S("volB/ganban"));
}

TEST_F(WindowTest, UnreadableDestinationDriveTellsTwice) {
  Form1 form(view, TestSetup());
  fs::remove_all(At("volB"));
  form.DriveChosen(Side::Destination, 1);
  EXPECT_EQ(Texts(view.messages), std::vector<std::string>(2, NativePathRules().GanbanMissingMessage()));
}

TEST_F(WindowTest, SourceDriveOpensTheCurrentFolderWhenItLiesThereElseTheRoot) {
  {
    Form1 form(view, TestSetup());
    fs::current_path(At("volB/data"));
    form.DriveChosen(Side::Source, 1);
    EXPECT_EQ(view.source.text, S("volB/data"));
  }
  fs::current_path(At("volA/work"));
  Form1 form(view, TestSetup());
  form.DriveChosen(Side::Source, 1);
  EXPECT_EQ(form.Dir(Side::Source).Path(), S("volB"));
  EXPECT_EQ(view.source.text, S("volB"));
  EXPECT_EQ(Cwd(), S("volB"));
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(WindowTest, ExecuteConvertsAndTheStatusStaysUntilTheMouseMoves) {
  test::WriteSjis(At("export/X1.TXT"), kLayer);
  view.answers = {MessageAnswer::Yes};
  Form1 form(view, TestSetup());
  view.source.text = S("export");
  view.destination.text = S("volA/out/site");

  // Before any run a mouse movement leaves the status line alone.
  view.status = "earlier";
  form.Picture1_MouseMove();
  EXPECT_EQ(view.status, "earlier");

  form.Command1_Click();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text, "ﾌｫﾙﾀﾞがありません。新規作成しますか？");
  EXPECT_EQ(view.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(view.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(view.messages[0].title, kCaption);
  EXPECT_TRUE(fs::is_regular_file(At("volA/out/site/G10.txt")) || fs::is_regular_file(At("volA/out/site/D10.txt")));
  EXPECT_EQ(view.status, "変換が正常に終了しました。");
  EXPECT_GE(view.eventPasses, 1);
  EXPECT_EQ(view.busyChanges, (std::vector<bool>{true, false}));
  EXPECT_EQ(form.StatusPending(), 1);

  form.Picture1_MouseMove();
  EXPECT_EQ(view.status, "");
  EXPECT_EQ(form.StatusPending(), 0);
  view.status = "later";
  form.Picture1_MouseMove();
  EXPECT_EQ(view.status, "later");
}

TEST_F(WindowTest, ExecuteListsDataThatCouldNotBeConvertedInOneInformationBox) {
  // X6 records cannot be converted without Radudi32.ini in the system folder.
  test::WriteSjis(At("export/X1.TXT"), kLayer);
  test::WriteSjis(At("export/X6.TXT"), "1,2,3,4,5,6,7,8\r\n");
  fs::create_directories(At("volA/out"));
  Form1 form(view, TestSetup());
  view.source.text = S("export");
  view.destination.text = S("volA/out");
  form.Command1_Click();
  EXPECT_EQ(view.status, "変換は終了しましたが、変換できなかったデータがあります。");
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(view.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(view.messages[0].title, kCaption);
  EXPECT_NE(view.messages[0].text.find("Radudi32.ini"), std::string::npos) << view.messages[0].text;
  EXPECT_FALSE(view.busy);
  EXPECT_FALSE(view.busyDuringMessages[0]);
}

TEST_F(WindowTest, ARadudi32IniMadeWhileTheWindowIsOpenIsUsedByTheNextRun) {
  test::ScopedEnv noSystemDir("KOLBRIX2VANTOR_SYSTEM_DIR", nullptr);
#ifdef _WIN32
  test::ScopedEnv configHome("APPDATA", S("config").c_str());
#else
  test::ScopedEnv configHome("XDG_CONFIG_HOME", S("config").c_str());
#endif
  test::WriteSjis(At("export/X1.TXT"), kLayer);
  test::WriteSjis(At("export/X6.TXT"), "1,2,3,4,5,6,7,8\r\n");
  fs::create_directories(At("volA/out"));
  WindowSetup setup = TestSetup();
  setup.runOptions.systemDir.reset();
  Form1 form(view, setup);
  view.source.text = S("export");
  view.destination.text = S("volA/out");
  form.Command1_Click();
  ASSERT_EQ(view.messages.size(), 1u);
  // The warning names every folder looked in, with the system's separators.
  const std::string looked = JoinPath(S("config/kolbrix2vantor"), "Radudi32.ini") + "、" +
                             JoinPath(SystemSettingsFolder(), "Radudi32.ini");
  EXPECT_NE(view.messages[0].text.find("Radudi32.ini がありません: " + looked), std::string::npos)
      << view.messages[0].text;

  test::WriteBytes(At("config/kolbrix2vantor/Radudi32.ini"),
                   "[RADUDI]\r\n" + std::string(K2V_TEST_DATA_DIR) + "/records_e2e/radudi/\r\n");
  form.Command1_Click();
  EXPECT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.status, "変換が正常に終了しました。");
  EXPECT_TRUE(FileExists(JoinPath(S("volA/out"), "D40.txt")));
}

TEST_F(WindowTest, ATypedPathGoesToTheRunAsTheCommandLineGivesIt) {
  // Doubled separators and "." and ".." name the folder itself; the run
  // takes its levels (CNT.TXT, the vocabulary folder) from the folder's
  // real path, in the window as on the command line.
  test::WriteSjis(At("export/X1.TXT"), kLayer);
  test::WriteSjis(At("export/CNT.TXT"), "1,2,3,4,5,6\r\n");
  fs::create_directories(At("volA/GANBAN/K001/S01/B02"));
  const std::string sep = test::Sep();
  const std::string typed = S("volA") + sep + sep + "GANBAN" + sep + "x" + sep + ".." + sep + "K001" + sep + sep +
                            "S01" + sep + "." + sep + "B02";
  const fs::path cnt = At("volA/GANBAN/K001/S01/B02/CNT.TXT");
  auto convert = [&](const std::string& destination) {
    FakeForm1View v;
    Form1 form(v, TestSetup());
    v.source.text = S("export");
    v.destination.text = destination;
    form.Command1_Click();
    EXPECT_EQ(Texts(v.messages), std::vector<std::string>{}) << destination;
    EXPECT_EQ(v.status, "変換が正常に終了しました。") << destination;
    return test::ReadBytes(cnt);
  };
  const std::string asClean = convert(S("volA/GANBAN/K001/S01/B02"));
  EXPECT_EQ(convert(typed), asClean);
  EXPECT_FALSE(fs::exists(At("volA/GANBAN/x")));

  fs::remove(cnt);
  std::string out, err;
  EXPECT_EQ(test::RunCommand({K2V_CLI_PATH, "--system-dir", S("system"), S("export"), typed}, out, err), 0) << err;
  EXPECT_EQ(test::ReadBytes(cnt), asClean);
}

struct Refusal {
  const char* name;
  std::string source;
  std::string destination;
  std::vector<std::string> texts;
  // The last box: its title and the path shown under its text ("" for none).
  std::string title;
  std::string shownPath;
  std::optional<MessageIcon> icon;
  std::vector<Side> focused;
};

TEST_F(WindowTest, ExecuteRefusalsTellAndLeaveTheDestinationAlone) {
  const std::string sep = test::Sep();
  const std::string invalid = "指定されたパスは正しくありません。";
#ifdef _WIN32
  const std::string noRoot = kDriveLetterMessage;
#else
  const std::string noRoot = kPosixRootMessage;
#endif
  // clang-format off
  const std::vector<Refusal> cases = {
      {"empty source", "", S("volA/out"), {noRoot, invalid}, kCaption, "", MessageIcon::Exclamation, {Side::Source}},
      {"invalid destination", S("export"), S("volA/o*t"), {invalid}, S("volA/o*t"), S("volA/o*t"),
       MessageIcon::Exclamation, {Side::Destination}},
      {"final separator", S("export"), S("volA/out") + sep, {NativePathRules().TrailingSeparatorMessage()},
       S("export") + sep, S("export"), MessageIcon::Exclamation, {}},
      {"no data, path as typed", "  " + S("empty"), S("volA/out"), {"データがありません。"}, S("empty") + sep,
       S("empty"), MessageIcon::Exclamation, {}},
      {"folder question answered No", S("export"), S("volA/new/out"), {"ﾌｫﾙﾀﾞがありません。新規作成しますか？"},
       kCaption, "", MessageIcon::Question, {}},
  };
  // clang-format on
  test::WriteSjis(At("export/X1.TXT"), kLayer);
  fs::create_directories(At("empty"));
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.name);
    FakeForm1View v;
    Form1 form(v, TestSetup());
    v.source.text = c.source;
    v.destination.text = c.destination;
    form.Command1_Click();
    EXPECT_EQ(Texts(v.messages), c.texts);
    ASSERT_FALSE(v.messages.empty());
    EXPECT_EQ(v.messages.back().title, c.title);
    // Long paths are broken into lines (see the next test).
    std::string shownPath = v.messages.back().informative;
    std::erase(shownPath, '\n');
    EXPECT_EQ(shownPath, c.shownPath);
    EXPECT_EQ(v.messages.back().icon, c.icon);
    EXPECT_EQ(v.focused, c.focused);
    EXPECT_EQ(v.status, "");
    EXPECT_FALSE(v.busy);
    EXPECT_FALSE(fs::exists(At("volA/out")));
    EXPECT_FALSE(fs::exists(At("volA/new")));
  }
}

TEST_F(WindowTest, APathUnderAMessageBreaksOnlyAfterItsSeparators) {
  const std::string sep = test::Sep();
  const std::string name = "地盤調査データ";  // 14 columns
  std::string path;
  for (int i = 0; i < 6; ++i) path += sep + name;
  const std::string laidOut = BreakPathAtSeparators(path, 48);
  std::string joined;
  size_t lines = 0;
  for (size_t start = 0; start <= laidOut.size(); ++lines) {
    size_t end = laidOut.find('\n', start);
    if (end == std::string::npos) end = laidOut.size();
    const std::string line = laidOut.substr(start, end - start);
    EXPECT_LE(line.size(), 3 * 48 / 2) << line;
    if (end < laidOut.size()) {
      EXPECT_TRUE(line.ends_with(sep)) << line;
    }
    joined += line;
    start = end + 1;
  }
  EXPECT_EQ(joined, path);
  EXPECT_EQ(lines, 2u);
  // A name longer than a line stays whole.
  const std::string longName = sep + std::string(60, 'a') + sep + "b";
  EXPECT_EQ(BreakPathAtSeparators(longName, 48), sep + "\n" + std::string(60, 'a') + sep + "\nb");
}

TEST_F(WindowTest, ExitClosesTheWindow) {
  Form1 form(view, TestSetup());
  form.Command2_Click();
  EXPECT_TRUE(view.closed);
}

}  // namespace
}  // namespace k2v
