#pragma once
// A message box of the Qt view: the text, the informative text under it,
// the details behind their button, and Qt's Japanese buttons.

#include <QWidget>

#include "window/form1_view.hpp"

namespace k2v {

MessageAnswer ShowMessageBox(QWidget* parent, const MessageBoxContent& box);

}  // namespace k2v
