#pragma once
// A file or folder dropped from the desktop's file manager on a path box or
// a folder list: one filter for every control that takes one.

#include <QMimeData>
#include <QObject>
#include <QString>

class QWidget;

namespace k2v {

class FolderDrop : public QObject {
  Q_OBJECT

 public:
  // Takes drops on target (on a list, on its viewport); the filter belongs
  // to target.
  explicit FolderDrop(QWidget* target);

 signals:
  // An existing local file or folder was dropped.
  void Dropped(const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// The existing local file or folder that dropped data names first, or an
// empty text.
QString DroppedPath(const QMimeData* data);

}  // namespace k2v
