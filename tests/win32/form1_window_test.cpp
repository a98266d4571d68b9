// The window's Win32 view: its controls at their places, and a run driven
// through the controls' own messages, as the user's clicks and keys send
// them. The behaviour behind it is tested against a fake view
// (tests/window_test.cpp).

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdlib>
#include <filesystem>

#include "app_win32/form1_window.hpp"
#include "laid_out_window_test_support.hpp"
#include "platform/files.hpp"
#include "platform/wide_text.hpp"
#include "test_support.hpp"
#include "window/window_layout.hpp"

namespace fs = std::filesystem;

namespace k2v {
namespace {

std::string TextOf(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

std::string ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return Narrow(name);
}

void Type(HWND box, const std::string& text) {
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

std::string Native(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// What a file manager hands the window when a file is dropped at a point.
HDROP DropOf(const std::string& path, POINT at) {
  const std::wstring wide = Widen(path);
  const size_t bytes = sizeof(DROPFILES) + (wide.size() + 2) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = at;
  drop->fWide = TRUE;
  std::copy(wide.begin(), wide.end(), reinterpret_cast<wchar_t*>(drop + 1));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

class Form1WindowTest : public ::testing::Test {
 protected:
  Form1WindowTest() : savedCwd_(fs::current_path()) {
    fs::create_directories(root_.path() / "vol" / "work");
    fs::create_directories(root_.path() / "system");
    fs::current_path(root_.path() / "vol" / "work");
    const std::string radudi = Native(std::string(K2V_EXAMPLES_DIR) + "/RADUDI");
    test::WriteBytes(root_.path() / "system" / "Radudi32.ini", "[RADUDI]\r\n" + radudi + "\\\r\n");
  }
  ~Form1WindowTest() override { fs::current_path(savedCwd_); }

  WindowSetup Setup() const {
    WindowSetup s;
    s.volumes = {Volume{PathText(root_.path() / "vol"), "fixed", ""}};
    s.programFolder = PathText(root_.path());
    s.runOptions.systemDir = PathText(root_.path() / "system");
    s.givenRadudi = Native(std::string(K2V_EXAMPLES_DIR) + "/RADUDI");
    s.givenRadudiBy = "--radudi";
    return s;
  }

  test::TempDir root_;
  fs::path savedCwd_;
};

// The window class of each kind of control.
const char* ClassOfKind(ControlKind kind) {
  switch (kind) {
    case ControlKind::Picture: return "K2VPicture1";
    case ControlKind::Label:
    case ControlKind::StatusLine: return "Static";
    case ControlKind::TextBox: return "Edit";
    case ControlKind::Frame:
    case ControlKind::Button: return "Button";
    case ControlKind::FolderList: return "ListBox";
    case ControlKind::DriveList: return "ComboBox";
    case ControlKind::ProgressBar: return "msctls_progress32";
    case ControlKind::Table: return "SysListView32";
  }
  return "";
}

TEST_F(Form1WindowTest, ControlsHaveTheirClassCaptionAndPlaceAt96Dpi) {
  Form1Window window(Setup());
  HDC screen = GetDC(nullptr);
  ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);  // 15 twips to a pixel
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(TextOf(window.Control("Form1")), kForm1Layout.caption);
  RECT client{};
  GetClientRect(window.Control("Form1"), &client);
  EXPECT_EQ(client.right, kForm1Layout.clientWidth / 15);
  EXPECT_EQ(client.bottom, kForm1Layout.clientHeight / 15);

  ASSERT_TRUE(window.Model().Form_Load());
  for (const ControlPlace& c : kForm1Layout.controls) {
    SCOPED_TRACE(c.name);
    HWND control = window.Control(c.name);
    ASSERT_NE(control, nullptr);
    EXPECT_STRCASEEQ(ClassOf(control).c_str(), ClassOfKind(c.kind));
    // The status line shows the RADUDI folder after start-up.
    EXPECT_EQ(TextOf(control).rfind(c.caption, 0), 0u) << TextOf(control);
    test::ExpectAtItsPlace(window, "Form1", c);
  }
  // The status line shortens a long path in its middle and shows it whole on hover.
  EXPECT_TRUE(GetWindowLongPtrW(window.Control("Label3"), GWL_STYLE) & SS_PATHELLIPSIS);
}

TEST_F(Form1WindowTest, ARunFromTheButtonsConvertsTheSampleAndTheMouseClearsTheStatus) {
  // Where the Windows test script compares the output with the Linux build's.
  const char* kept = std::getenv("K2V_GUI_SAMPLE_OUT");
  const std::string destination = kept && *kept ? Native(kept) : PathText(root_.path() / "out" / "S01");
  std::vector<MessageBoxContent> boxes;
  Form1Window window(Setup());
  window.SetMessageSeam([&](const MessageBoxContent& box) {
    boxes.push_back(box);
    return MessageAnswer::Yes;
  });
  ASSERT_TRUE(window.Model().Form_Load());
  ShowWindow(window.Control("Form1"), SW_SHOW);
  EXPECT_EQ(TextOf(window.Control("Label3")),
            "RADUDI フォルダ: " + Native(std::string(K2V_EXAMPLES_DIR) + "/RADUDI\\"));

  Type(window.Control("Text2"), Native(std::string(K2V_EXAMPLES_DIR) + "/sample"));
  Type(window.Control("Text1"), destination);
  // The window is idle between the user's actions: what showing it set off
  // (activation, focus) is over before the click.
  window.ProcessPendingEvents();
  SendMessageW(window.Control("Command1"), BM_CLICK, 0, 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "ﾌｫﾙﾀﾞがありません。新規作成しますか？");
  EXPECT_EQ(boxes[0].title, "Kolbrix -> Vantor 変換プログラム");
  EXPECT_EQ(boxes[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(TextOf(window.Control("Label3")), "変換が正常に終了しました。");
  EXPECT_TRUE(fs::is_regular_file(NativePath(destination) / "D10.txt"));

  SendMessageW(window.Control("Picture1"), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(TextOf(window.Control("Label3")), "");

  SendMessageW(window.Control("Command2"), BM_CLICK, 0, 0);
  EXPECT_EQ(window.Control("Form1"), nullptr);
}

TEST_F(Form1WindowTest, ListsKeysAndDropsReachTheWindow) {
  fs::create_directories(root_.path() / "vol" / "work" / "sub");
  fs::create_directories(root_.path() / "vol" / "data");
  std::vector<MessageBoxContent> boxes;
  Form1Window window(Setup());
  window.SetMessageSeam([&](const MessageBoxContent& box) {
    boxes.push_back(box);
    return MessageAnswer::Ok;
  });
  HWND dir1 = window.Control("Dir1");
  // The folder shown is selected, with its subfolder below it one level
  // further in and the folders that hold it above.
  const LRESULT current = SendMessageW(dir1, LB_GETCURSEL, 0, 0);
  ASSERT_GE(current, 1);
  EXPECT_GT(SendMessageW(dir1, LB_GETTOPINDEX, 0, 0), 0);  // scrolled down towards it
  ASSERT_EQ(SendMessageW(dir1, LB_GETCOUNT, 0, 0), current + 2);
  auto row = [&](LRESULT i) {
    std::wstring text(static_cast<size_t>(SendMessageW(dir1, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)), L'\0');
    SendMessageW(dir1, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    return Narrow(text);
  };
  const std::string indent(2 * static_cast<size_t>(current), ' ');
  EXPECT_EQ(row(current), indent + "work");
  EXPECT_EQ(row(current + 1), indent + "  sub");
  // A double click on a row opens it; Backspace goes up.
  SendMessageW(dir1, LB_SETCURSEL, static_cast<WPARAM>(current + 1), 0);
  SendMessageW(window.Control("Picture1"), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(dir1), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(dir1));
  EXPECT_EQ(TextOf(window.Control("Text1")), PathText(root_.path() / "vol" / "work" / "sub"));
  SendMessageW(dir1, WM_KEYDOWN, VK_BACK, 0);
  EXPECT_EQ(TextOf(window.Control("Text1")), PathText(root_.path() / "vol" / "work"));

  // Picking the drive shown again runs the drive handler: no ganban there.
  HWND drive1 = window.Control("Drive1");
  for (WORD code : {CBN_SELENDOK, CBN_SELCHANGE}) {  // one pick
    SendMessageW(window.Control("Picture1"), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(drive1), code),
                 reinterpret_cast<LPARAM>(drive1));
  }
  window.ProcessPendingEvents();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, " Ｖａｎｔｏｒのﾌｫﾙﾀﾞ（\\GANBAN）がありません.");

  // A folder dropped on the source box.
  RECT text2{};
  GetWindowRect(window.Control("Text2"), &text2);
  MapWindowPoints(nullptr, window.Control("Picture1"), reinterpret_cast<POINT*>(&text2), 2);
  SendMessageW(
      window.Control("Picture1"), WM_DROPFILES,
      reinterpret_cast<WPARAM>(DropOf(PathText(root_.path() / "vol" / "data"), {text2.left + 5, text2.top + 5})), 0);
  EXPECT_EQ(TextOf(window.Control("Text2")), PathText(root_.path() / "vol" / "data"));

  // Esc closes the window, as it closes a dialog.
  SendMessageW(window.Control("Form1"), WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(window.Control("Form1"), nullptr);
}

TEST_F(Form1WindowTest, TabGoesThroughTheControlsInOrderAndEnterInAPathBoxStartsNoRun) {
  Form1Window window(Setup());
  int runs = 0;
  window.SetMessageSeam([&](const MessageBoxContent&) {
    ++runs;
    return MessageAnswer::No;
  });
  ShowWindow(window.Control("Form1"), SW_SHOW);
  SetForegroundWindow(window.Control("Form1"));
  // A key as the message loop hands it to the dialog keys.
  auto press = [&](WPARAM key) {
    MSG msg{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    if (!IsDialogMessageW(window.Control("Form1"), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    window.ProcessPendingEvents();
  };
  SetFocus(window.Control("Text2"));
  std::vector<std::string> order;
  for (int i = 0; i < 8; ++i) {
    for (const char* name : {"Text2", "Text1", "Dir2", "Drive2", "Dir1", "Drive1", "Command1", "Command2"}) {
      if (GetFocus() == window.Control(name)) order.push_back(name);
    }
    press(VK_TAB);
  }
  EXPECT_EQ(order,
            (std::vector<std::string>{"Text2", "Text1", "Dir2", "Drive2", "Dir1", "Drive1", "Command1", "Command2"}));
  EXPECT_EQ(GetFocus(), window.Control("Text2"));

  Type(window.Control("Text2"), "C:\\nowhere");
  press(VK_RETURN);
  EXPECT_EQ(runs, 0);
  EXPECT_NE(window.Control("Form1"), nullptr);

  // Enter on a button reached with Tab presses it: "実  行" runs (and is
  // refused with its messages), "終  了" closes the window.
  for (int i = 0; i < 6; ++i) press(VK_TAB);
  ASSERT_EQ(GetFocus(), window.Control("Command1"));
  press(VK_RETURN);
  EXPECT_GE(runs, 1);
  const int afterRun = runs;
  SetFocus(window.Control("Command1"));
  press(VK_TAB);
  ASSERT_EQ(GetFocus(), window.Control("Command2"));
  press(VK_RETURN);
  EXPECT_EQ(runs, afterRun);
  EXPECT_EQ(window.Control("Form1"), nullptr);
}

TEST_F(Form1WindowTest, APathBoxShowsTheEndOfALongPathAndTheWholeOnHover) {
  Form1Window window(Setup());
  const std::string path = "C:\\" + std::string(200, 'x') + "\\B02";
  window.SetPathText(Side::Destination, path);
  // The first character shown is past the start: the end is in view.
  EXPECT_GT(SendMessageW(window.Control("Text1"), EM_GETFIRSTVISIBLELINE, 0, 0), 100);
  NMTTDISPINFOW tip{};
  tip.hdr.code = TTN_GETDISPINFOW;
  tip.hdr.idFrom = reinterpret_cast<UINT_PTR>(window.Control("Text1"));
  SendMessageW(window.Control("Picture1"), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip.lpszText, nullptr);
  EXPECT_EQ(Narrow(tip.lpszText), path);
}

}  // namespace
}  // namespace k2v
