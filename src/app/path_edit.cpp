#include "app/path_edit.hpp"

namespace k2v {

PathEdit::PathEdit(QWidget* parent) : QLineEdit(parent) {
  // QLineEdit keeps its cursor, and so the part it shows, at the end of a
  // text set from outside.
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { setToolTip(text); });
}

}  // namespace k2v
