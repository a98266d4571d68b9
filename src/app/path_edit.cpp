#include "app/path_edit.hpp"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace k2v {

QString DroppedFolder(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().isEmpty()) return {};
  const QUrl url = data->urls().first();
  if (!url.isLocalFile()) return {};
  QFileInfo info(url.toLocalFile());
  if (info.isDir()) return QDir::cleanPath(info.absoluteFilePath());
  if (info.isFile()) return QDir::cleanPath(info.absolutePath());
  return {};
}

PathEdit::PathEdit(QWidget* parent) : QLineEdit(parent) { setAcceptDrops(true); }

void PathEdit::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFolder(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QLineEdit::dragEnterEvent(event);
}

void PathEdit::dragMoveEvent(QDragMoveEvent* event) {
  if (!DroppedFolder(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QLineEdit::dragMoveEvent(event);
}

void PathEdit::dropEvent(QDropEvent* event) {
  const QString folder = DroppedFolder(event->mimeData());
  if (folder.isEmpty()) {
    QLineEdit::dropEvent(event);
    return;
  }
  event->acceptProposedAction();
  setText(folder);
  emit FolderDropped(folder);
}

}  // namespace k2v
