#include "app_win32/laid_out_window.hpp"

#include <commctrl.h>

#include "platform/wide_text.hpp"

namespace k2v {

namespace {

// The open list of a drive list, below its box, in twips.
constexpr int kDropDownHeight = 1800;

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

}  // namespace k2v
