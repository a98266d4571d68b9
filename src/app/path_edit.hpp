#pragma once
// A path box (Text1, Text2): a line of text that shows the end of a long
// path (the boring's folder) and the whole path on hover.

#include <QLineEdit>

namespace k2v {

class PathEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit PathEdit(QWidget* parent = nullptr);
};

}  // namespace k2v
