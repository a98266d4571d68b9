#include "app_win32/form1_window.hpp"

#include "app_win32/win32_window.hpp"

#include <commctrl.h>
#include <shellapi.h>

#include "platform/wide_text.hpp"
#include "window/window_layout.hpp"
#include "window/window_text.hpp"

namespace k2v {

namespace {

constexpr const wchar_t* kSearchClass = L"K2VSearch";
// Posted once a drive was picked in a drive list (wParam: 0 source, 1 destination).
constexpr UINT kDrivePicked = WM_APP + 1;

size_t SideIndex(Side side) { return side == Side::Source ? 0 : 1; }

// The controls by their place in the layout's table.
enum Index {
  Picture1,
  Label2,
  Text2,
  Label1,
  Text1,
  Frame2,
  Dir2,
  Drive2,
  Frame1,
  Dir1,
  Drive1,
  Frame3,
  Label3,
  Command1,
  Command2
};
constexpr bool IndexIs(Index index, std::string_view name) { return name == kForm1Controls[index].name; }
static_assert(IndexIs(Text2, "Text2") && IndexIs(Dir2, "Dir2") && IndexIs(Drive2, "Drive2") &&
              IndexIs(Text1, "Text1") && IndexIs(Dir1, "Dir1") && IndexIs(Drive1, "Drive1") &&
              IndexIs(Label3, "Label3") && IndexIs(Command1, "Command1") && IndexIs(Command2, "Command2"));

Form1Window* WindowOf(HWND hwnd) { return WindowBehind<Form1Window>(hwnd); }

}  // namespace

Form1Window::Form1Window(WindowSetup setup) : LaidOutWindow(kForm1Layout, "Form1", {L"K2VForm1", L"K2VPicture1"}) {
  RegisterWindowClass(kSearchClass, SearchProc, GetSysColorBrush(COLOR_BTNFACE), nullptr);
  CreateTips();
  Layout(DpiOf(Form()));
  model_ = std::make_unique<Form1>(*this, std::move(setup));
}

Form1Window::~Form1Window() {
  SetBusy(false);
  EndSearch();
  CloseForm();
}

void Form1Window::CreateTips() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  // The whole status line shows on hover, where the line has cut it short.
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Form(), nullptr, instance,
                             nullptr);
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = Picture();
  tool.uId = 1;
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  // A path box shows its whole path on hover, asked for when it shows.
  for (Side side : {Side::Source, Side::Destination}) {
    TOOLINFOW box{};
    box.cbSize = TTTOOLINFOW_V2_SIZE;
    box.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
    box.hwnd = Picture();
    box.uId = reinterpret_cast<UINT_PTR>(TextOf(side));
    box.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&box));
  }
}

void Form1Window::Layout(int dpi) {
  dpi_ = dpi;
  LaidOutWindow::Layout(dpi);
  SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Scale(kForm1Layout.clientWidth));
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = Picture();
  tool.uId = 1;
  tool.rect = PixelRect(PlaceOnWindow(kForm1Layout, kForm1Controls[Label3]), dpi_);
  SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND Form1Window::TextOf(Side side) const { return At(side == Side::Source ? Text2 : Text1); }
HWND Form1Window::DirOf(Side side) const { return At(side == Side::Source ? Dir2 : Dir1); }
HWND Form1Window::DriveOf(Side side) const { return At(side == Side::Source ? Drive2 : Drive1); }

std::string Form1Window::PathText(Side side) const { return Narrow(TextOfWindow(TextOf(side))); }

// The boring's folder shows at the end of a long path.
void Form1Window::SetPathText(Side side, const std::string& text) { SetPathBoxText(TextOf(side), text); }

void Form1Window::SetStatusText(const std::string& text) {
  status_ = Widen(text);
  SetWindowTextW(At(Label3), status_.c_str());
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = Picture();
  tool.uId = 1;
  tool.lpszText = status_.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Form1Window::ShowFolderRows(Side side, const std::vector<FolderRow>& rows) {
  HWND list = DirOf(side);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  int current = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    // Each level of the tree two spaces further in.
    const std::wstring text = std::wstring(2 * static_cast<size_t>(rows[i].depth), L' ') + Widen(rows[i].text);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (rows[i].current) current = static_cast<int>(i);
  }
  // The folder shown, selected at the top; the folders that hold it above.
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(current), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void Form1Window::ShowDriveRows(Side side, const std::vector<DriveRow>& rows) {
  HWND drive = DriveOf(side);
  SendMessageW(drive, CB_RESETCONTENT, 0, 0);
  for (const DriveRow& row : rows) {
    SendMessageW(drive, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(row.text).c_str()));
  }
}

void Form1Window::ShowDrive(Side side, int index) { SendMessageW(DriveOf(side), CB_SETCURSEL, index, 0); }

void Form1Window::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Form1Window::FocusAndSelect(Side side) {
  SetFocus(TextOf(side));
  SendMessageW(TextOf(side), EM_SETSEL, 0, -1);
}

void Form1Window::ShowSearchProgress(const std::string& folder) {
  if (!search_) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const int dpi = DpiOf(nullptr);
    auto scale = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
    RECT frame{0, 0, scale(6600), scale(1500)};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_BORDER;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    search_ = CreateWindowExW(WS_EX_CONTROLPARENT, kSearchClass, Widen(window_text::kCaption).c_str(), style,
                              (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                              width, height, nullptr, nullptr, instance, this);
    auto child = [&](const wchar_t* windowClass, const char* text, DWORD style, int left, int top, int w, int h,
                     int id) {
      HWND c = CreateWindowExW(0, windowClass, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, scale(left),
                               scale(top), scale(w), scale(h), search_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
      SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
      return c;
    };
    child(L"STATIC", window_text::kSearching, SS_LEFT | SS_NOPREFIX, 240, 180, 6120, 315, 0);
    searchFolder_ = child(L"STATIC", "", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 240, 540, 6120, 315, 0);
    child(L"BUTTON", window_text::kCancel, WS_TABSTOP | BS_PUSHBUTTON, 5040, 960, 1320, 405, IDCANCEL);
    searchCancelled_ = false;
    ShowWindow(search_, SW_SHOW);
    UpdateWindow(search_);
  }
  SetWindowTextW(searchFolder_, Widen(folder).c_str());
}

void Form1Window::EndSearch() {
  if (search_) DestroyWindow(search_);
  search_ = nullptr;
  searchFolder_ = nullptr;
}

void Form1Window::OnCommand(int id, int code) {
  const int index = IndexOfId(id);
  for (Side side : {Side::Source, Side::Destination}) {
    if (index == (side == Side::Source ? Dir2 : Dir1) && code == LBN_DBLCLK) {
      model_->FolderRowOpened(side, static_cast<int>(SendMessageW(DirOf(side), LB_GETCURSEL, 0, 0)));
    }
    // Every pick of a drive, the one shown included: an item chosen from the
    // open list, or an arrow key on the closed one. One pick may send both
    // notifications; the handler runs once for it, after them.
    const bool closed = !SendMessageW(DriveOf(side), CB_GETDROPPEDSTATE, 0, 0);
    const bool picked = code == CBN_SELENDOK || (code == CBN_SELCHANGE && closed);
    if (index == (side == Side::Source ? Drive2 : Drive1) && picked && !drivePicked_[SideIndex(side)]) {
      drivePicked_[SideIndex(side)] = true;
      PostMessageW(Picture(), kDrivePicked, static_cast<WPARAM>(SideIndex(side)), 0);
    }
  }
  if (code != BN_CLICKED) return;
  if (index == Command1) model_->Command1_Click();
  if (index == Command2) model_->Command2_Click();
}

void Form1Window::OnEnter() {
  HWND focus = GetFocus();
  for (Side side : {Side::Source, Side::Destination}) {
    if (focus == DirOf(side)) {
      model_->FolderRowOpened(side, static_cast<int>(SendMessageW(focus, LB_GETCURSEL, 0, 0)));
    }
  }
  if (focus == At(Command1) || focus == At(Command2)) SendMessageW(focus, BM_CLICK, 0, 0);
}

// A file or folder dropped on a path box or a folder list.
void Form1Window::OnDrop(HDROP drop) {
  const Dropped dropped = TakeDrop(drop);
  if (dropped.path.empty()) return;
  for (Side side : {Side::Source, Side::Destination}) {
    for (HWND target : {TextOf(side), DirOf(side)}) {
      if (DroppedOn(target, Picture(), dropped.at)) {
        model_->PathDropped(side, dropped.path);
        return;
      }
    }
  }
}

LRESULT Form1Window::OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Enter and Esc, as the dialog keys send them. Enter on a button that
      // the Tab key made the default one comes as that button's click.
      if (LOWORD(wParam) == IDOK) {
        OnEnter();
      } else if (LOWORD(wParam) == IDCANCEL) {
        model_->Command2_Click();
      } else if (lParam != 0) {
        OnCommand(LOWORD(wParam), HIWORD(wParam));
      }
      return 0;
    case WM_CLOSE: model_->Command2_Click(); return 0;
    case WM_ACTIVATE:
      // The focus comes back to the control that had it, as in a dialog.
      if (LOWORD(wParam) == WA_INACTIVE) {
        lastFocus_ = GetFocus();
      } else if (!IsChild(Form(), GetFocus())) {
        SetFocus(lastFocus_ && IsChild(Form(), lastFocus_) ? lastFocus_ : At(Text2));
      }
      return 0;
    case WM_SETCURSOR:
      if (busy_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    default: break;
  }
  return LaidOutWindow::OnFormMessage(message, wParam, lParam);
}

LRESULT Form1Window::OnPictureMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_MOUSEMOVE: model_->Picture1_MouseMove(); return 0;
    case WM_VKEYTOITEM:
      // Backspace in a folder list: the folder above.
      if (LOWORD(wParam) == VK_BACK) {
        for (Side side : {Side::Source, Side::Destination}) {
          if (reinterpret_cast<HWND>(lParam) == DirOf(side)) model_->FolderUp(side);
        }
        return -2;
      }
      return -1;
    case WM_DROPFILES: OnDrop(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_NOTIFY: {
      auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
      if (tip->hdr.code != TTN_GETDISPINFOW) break;
      tipText_ = TextOfWindow(reinterpret_cast<HWND>(tip->hdr.idFrom));
      tip->lpszText = tipText_.data();
      return 0;
    }
    case kDrivePicked: {
      const Side side = wParam == 0 ? Side::Source : Side::Destination;
      drivePicked_[wParam] = false;
      model_->DriveChosen(side, static_cast<int>(SendMessageW(DriveOf(side), CB_GETCURSEL, 0, 0)));
      return 0;
    }
    case WM_SETCURSOR:
      if (busy_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    default: break;
  }
  return LaidOutWindow::OnPictureMessage(message, wParam, lParam);
}

LRESULT CALLBACK Form1Window::SearchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Remember(hwnd, message, lParam);
  Form1Window* self = WindowOf(hwnd);
  if (self && ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE)) {
    self->searchCancelled_ = true;
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace k2v
