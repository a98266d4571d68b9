#pragma once
// What the Win32 windows (Form1Window, BatchWindowView) share: the DPI and
// font they are drawn with, their window classes, the window object behind a
// handle, the path boxes, a file dropped on them, and the message box.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "window/form1_view.hpp"
#include "window/window_layout.hpp"

namespace k2v {

// The window's DPI (per monitor where the system knows it), else the system's.
int DpiOf(HWND hwnd);
// Grows a client rectangle to the window's for its style at dpi.
void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

// The UI font the windows use: Meiryo UI or Yu Gothic UI where present,
// else MS UI Gothic, else the system's message font.
std::wstring UiFontFace();
// That face at 9 points for dpi.
HFONT MakeUiFont(int dpi);

COLORREF ColourOf(Colour colour);
std::wstring TextOfWindow(HWND hwnd);

// Registers the window class name (the arrow pointer, the background brush
// and icon given) unless it is registered already.
void RegisterWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background, HICON icon);

// Sets a path box's text and scrolls its end into view: the last folders of
// a long path show.
void SetPathBoxText(HWND box, const std::string& text);

// A file or folder dropped from Explorer: the first path dropped (empty for
// none) and the point in the window's client area it was dropped at.
struct Dropped {
  std::string path;
  POINT at;
};
// Reads the drop and ends it.
Dropped TakeDrop(HDROP drop);
// True when at, in the client area of parent, lies on the control.
bool DroppedOn(HWND control, HWND parent, POINT at);

// Keeps the window object given to CreateWindowExW with the handle (call it
// first in a window procedure), and finds it again.
void Remember(HWND hwnd, UINT message, LPARAM lParam);
template <typename Window>
Window* WindowBehind(HWND hwnd) {
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Shows the box: its text, then the informative text under a blank line;
// the system's buttons. Returns the button chosen.
MessageAnswer ShowMessageBox(HWND owner, const MessageBoxContent& box);

}  // namespace k2v
