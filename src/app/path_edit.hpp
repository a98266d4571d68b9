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
  // A folder was dropped on the box (a dropped file stands for its folder).
  void FolderDropped(const QString& folder);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

// The local folder that dropped data names, or an empty text.
QString DroppedFolder(const QMimeData* data);

}  // namespace k2v
