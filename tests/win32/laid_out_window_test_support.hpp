#pragma once
// What the tests of the Win32 windows share: a control's place checked
// against the window's layout.

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "app_win32/laid_out_window.hpp"
#include "window/window_layout.hpp"

namespace k2v::test {

// Expects the control of c at its place at 96 DPI (15 twips to a pixel) in
// its container, the form (formName) for none. A closed drive list is as
// high as the system makes it for the font: its height is not checked.
inline void ExpectAtItsPlace(const LaidOutWindow& window, const std::string& formName, const ControlPlace& c) {
  RECT r{};
  GetWindowRect(window.Control(c.name), &r);
  HWND container = window.Control(c.container.empty() ? formName : std::string(c.container));
  MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, c.left / 15);
  EXPECT_EQ(r.top, c.top / 15);
  EXPECT_EQ(r.right - r.left, c.width / 15);
  if (c.kind != ControlKind::DriveList) {
    EXPECT_EQ(r.bottom - r.top, c.height / 15);
  }
}

}  // namespace k2v::test
