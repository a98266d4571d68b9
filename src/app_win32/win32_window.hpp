#pragma once
// What the Win32 windows (Form1Window, BatchWindowView) share: the DPI and
// font they are drawn with, the window object behind a handle, and the
// message box.

#include <windows.h>

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
