#include "app_win32/laid_out_window.hpp"

#include <commctrl.h>

#include "app_win32/win32_window.hpp"
#include "platform/wide_text.hpp"

namespace k2v {

namespace {

// The open list of a drive list, below its box, in twips.
constexpr int kDropDownHeight = 1800;
// The ids of the picture and of the first control after it.
constexpr int kPictureId = 99;
constexpr int kFirstControlId = 100;

struct Win32Kind {
  const wchar_t* windowClass;
  DWORD style;
  DWORD exStyle;
};

Win32Kind KindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Picture:
    case ControlKind::Label: return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::StatusLine: return {L"STATIC", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 0};
    case ControlKind::TextBox: return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Frame: return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::FolderList:
      return {L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT,
              WS_EX_CLIENTEDGE};
    case ControlKind::DriveList: return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::Button: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::ProgressBar: return {PROGRESS_CLASSW, PBS_SMOOTH, 0};
    case ControlKind::Table:
      return {WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_NOSORTHEADER,
              WS_EX_CLIENTEDGE};
  }
  return {L"STATIC", 0, 0};
}

}  // namespace

RECT PixelRect(const ControlPlace& place, int dpi) {
  const int left = TwipsToPixels(place.left, dpi);
  const int top = TwipsToPixels(place.top, dpi);
  return RECT{left, top, left + TwipsToPixels(place.width, dpi), top + TwipsToPixels(place.height, dpi)};
}

LaidOutControls::LaidOutControls(HWND picture, const WindowLayout& layout, int firstId) : layout_(layout) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  controls_.push_back(picture);
  int id = firstId;
  for (size_t i = 1; i < layout.controls.size(); ++i) {
    const ControlPlace& c = layout.controls[i];
    const Win32Kind kind = KindOf(c.kind);
    controls_.push_back(CreateWindowExW(kind.exStyle, kind.windowClass, Widen(c.caption).c_str(),
                                        WS_CHILD | WS_VISIBLE | kind.style, 0, 0, 10, 10, picture,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr));
  }
}

HWND LaidOutControls::Named(std::string_view name) const {
  for (size_t i = 0; i < controls_.size(); ++i) {
    if (name == layout_.controls[i].name) return controls_[i];
  }
  return nullptr;
}

void LaidOutControls::Place(int dpi, HFONT font) const {
  for (size_t i = 0; i < controls_.size(); ++i) {
    const ControlPlace& c = layout_.controls[i];
    if (i > 0) SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const RECT r = PixelRect(PlaceOnWindow(layout_, c), dpi);
    // A drive list's height is its box's and its open list's.
    const int extra = c.kind == ControlKind::DriveList ? TwipsToPixels(kDropDownHeight, dpi) : 0;
    MoveWindow(controls_[i], r.left, r.top, r.right - r.left, r.bottom - r.top + extra, TRUE);
  }
}

LaidOutWindow::LaidOutWindow(const WindowLayout& layout, std::string name, Classes classes)
    : layout_(layout), name_(std::move(name)) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX common{sizeof(common), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);
  const COLORREF background = ColourOf(layout_.background);
  RegisterWindowClass(classes.form, FormProc, CreateSolidBrush(background), LoadIconW(instance, MAKEINTRESOURCEW(1)));
  RegisterWindowClass(classes.picture, PictureProc, CreateSolidBrush(background), nullptr);
  background_ = CreateSolidBrush(background);
  form_ = CreateWindowExW(WS_EX_CONTROLPARENT, classes.form, Widen(layout_.caption).c_str(),
                          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
                          CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance, this);
  // The picture paints under its controls too: a frame (group box) draws its
  // border and caption only, and its inside is the picture's background.
  picture_ = CreateWindowExW(WS_EX_CONTROLPARENT, classes.picture, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, form_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPictureId)), instance, this);
  controls_ = std::make_unique<LaidOutControls>(picture_, layout_, kFirstControlId);
  // A file or folder dropped from Explorer.
  DragAcceptFiles(picture_, TRUE);
}

LaidOutWindow::~LaidOutWindow() {
  if (form_) DestroyWindow(form_);
  if (font_) DeleteObject(font_);
  if (background_) DeleteObject(background_);
}

HWND LaidOutWindow::Control(const std::string& name) const {
  if (name == name_) return form_;
  return controls_->Named(name);
}

// Ids follow the table from its second control on.
int LaidOutWindow::IndexOfId(int id) { return id - kFirstControlId + 1; }

void LaidOutWindow::Layout(int dpi) {
  RECT frame{0, 0, TwipsToPixels(layout_.clientWidth, dpi), TwipsToPixels(layout_.clientHeight, dpi)};
  AdjustForDpi(frame, static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_STYLE)),
               static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_EXSTYLE)), dpi);
  SetWindowPos(form_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (font_) DeleteObject(font_);
  font_ = MakeUiFont(dpi);
  controls_->Place(dpi, font_);
  InvalidateRect(form_, nullptr, TRUE);
}

int LaidOutWindow::RunMessages(HWND focus) {
  ShowWindow(form_, SW_SHOW);
  UpdateWindow(form_);
  if (focus) SetFocus(focus);
  running_ = true;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(form_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  running_ = false;
  return static_cast<int>(msg.wParam);
}

void LaidOutWindow::PumpMessages(HWND dialog) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    const bool dialogKey = (form_ && IsDialogMessageW(form_, &msg)) || (dialog && IsDialogMessageW(dialog, &msg));
    if (!dialogKey) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void LaidOutWindow::CentreForm() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT window{};
  GetWindowRect(form_, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  SetWindowPos(form_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LaidOutWindow::CloseForm() {
  if (form_) DestroyWindow(form_);
}

MessageAnswer LaidOutWindow::AskWithBox(const MessageBoxContent& box) const {
  if (messageSeam_) return messageSeam_(box);
  return ShowMessageBox(form_ && IsWindowVisible(form_) ? form_ : nullptr, box);
}

LRESULT LaidOutWindow::OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      form_ = nullptr;
      if (running_) PostQuitMessage(0);
      return 0;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      Layout(HIWORD(wParam));
      SetWindowPos(form_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default: break;
  }
  return DefWindowProcW(form_, message, wParam, lParam);
}

LRESULT LaidOutWindow::OnPictureMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, ColourOf(layout_.background));
      return reinterpret_cast<LRESULT>(background_);
    }
    default: break;
  }
  return DefWindowProcW(picture_, message, wParam, lParam);
}

LRESULT CALLBACK LaidOutWindow::FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Remember(hwnd, message, lParam);
  LaidOutWindow* self = WindowBehind<LaidOutWindow>(hwnd);
  if (!self || !self->form_ || !self->Ready()) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->OnFormMessage(message, wParam, lParam);
}

LRESULT CALLBACK LaidOutWindow::PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Remember(hwnd, message, lParam);
  LaidOutWindow* self = WindowBehind<LaidOutWindow>(hwnd);
  if (!self || !self->picture_ || !self->Ready()) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->OnPictureMessage(message, wParam, lParam);
}

}  // namespace k2v
