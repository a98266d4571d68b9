#include "window/window_layout.hpp"

namespace k2v {

const ControlPlace* FindControl(const WindowLayout& layout, std::string_view name) {
  for (const ControlPlace& c : layout.controls) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

ControlPlace PlaceOnWindow(const WindowLayout& layout, const ControlPlace& control) {
  ControlPlace place = control;
  for (const ControlPlace* in = FindControl(layout, control.container); in; in = FindControl(layout, in->container)) {
    place.left += in->left;
    place.top += in->top;
  }
  return place;
}

int TwipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

}  // namespace k2v
