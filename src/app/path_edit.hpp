#pragma once
// A path box (Text1, Text2): a line of text that also takes a folder dropped
// from the desktop's file manager.

#include <QLineEdit>
#include <QMimeData>
#include <QString>

namespace k2v {

class PathEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit PathEdit(QWidget* parent = nullptr);

 signals:
  // A file or folder was dropped on the box.
  void PathDropped(const QString& path);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

// The existing local file or folder that dropped data names first, or an
// empty text.
QString DroppedPath(const QMimeData* data);

}  // namespace k2v
