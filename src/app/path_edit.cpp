#include "app/path_edit.hpp"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QUrl>

namespace k2v {

QString DroppedPath(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().isEmpty()) return {};
  const QUrl url = data->urls().first();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  return QFileInfo::exists(path) ? path : QString();
}

PathEdit::PathEdit(QWidget* parent) : QLineEdit(parent) { setAcceptDrops(true); }

void PathEdit::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedPath(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QLineEdit::dragEnterEvent(event);
}

void PathEdit::dragMoveEvent(QDragMoveEvent* event) {
  if (!DroppedPath(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QLineEdit::dragMoveEvent(event);
}

void PathEdit::dropEvent(QDropEvent* event) {
  const QString path = DroppedPath(event->mimeData());
  if (path.isEmpty()) {
    QLineEdit::dropEvent(event);
    return;
  }
  event->acceptProposedAction();
  emit PathDropped(path);
}

}  // namespace k2v
