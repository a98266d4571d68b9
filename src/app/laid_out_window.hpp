#pragma once
// A window of the Qt view laid out from its table (window/window_layout.hpp):
// its caption, size and grey, and each control under its name at its place.

#include <QRect>
#include <QWidget>
#include <map>
#include <string>

#include "window/window_layout.hpp"

namespace k2v {

// A place in twips in the view's pixels (the layout's 15 twips to a pixel).
QRect PixelRect(const ControlPlace& place);

// Gives window the layout's caption, size and background, and creates its
// controls in their containers, in tab order. Returns them by name.
std::map<std::string, QWidget*> LayOutWindow(QWidget* window, const WindowLayout& layout);

// The control of that name and kind, as LayOutWindow made it.
template <typename Control>
Control* ControlNamed(const std::map<std::string, QWidget*>& controls, const std::string& name) {
  return qobject_cast<Control*>(controls.at(name));
}

}  // namespace k2v
