#pragma once
// The controls of a Win32 window laid out from its table
// (window/window_layout.hpp). The window makes the first control, its
// picture, itself; every other control is made on the picture at its place
// on the window (its containers' places added), and moved and given the
// font again for the DPI of the monitor the window is on.

#include <windows.h>

#include <string_view>
#include <vector>

#include "window/window_layout.hpp"

namespace k2v {

class LaidOutControls {
 public:
  // Creates the controls after the picture, in tab order, with the ids
  // firstId, firstId + 1, ...
  LaidOutControls(HWND picture, const WindowLayout& layout, int firstId);

  // The control at index in the layout's table (0: the picture).
  HWND operator[](size_t index) const { return controls_[index]; }
  // The control of that name; null for none.
  HWND Named(std::string_view name) const;
  size_t size() const { return controls_.size(); }
  const WindowLayout& Layout() const { return layout_; }

  // Gives every control its place and the font for dpi.
  void Place(int dpi, HFONT font) const;

 private:
  const WindowLayout& layout_;
  std::vector<HWND> controls_;
};

// A place in twips in pixels at dpi.
RECT PixelRect(const ControlPlace& place, int dpi);

}  // namespace k2v
