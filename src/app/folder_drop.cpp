#include "app/folder_drop.hpp"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

namespace k2v {

QString DroppedPath(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().isEmpty()) return {};
  const QUrl url = data->urls().first();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  return QFileInfo::exists(path) ? path : QString();
}

FolderDrop::FolderDrop(QWidget* target) : QObject(target) {
  auto* area = qobject_cast<QAbstractScrollArea*>(target);
  QWidget* watched = area ? area->viewport() : target;
  target->setAcceptDrops(true);
  watched->setAcceptDrops(true);
  watched->installEventFilter(this);
}

bool FolderDrop::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
    return QObject::eventFilter(watched, event);
  }
  auto* drop = static_cast<QDropEvent*>(event);
  const QString path = DroppedPath(drop->mimeData());
  // Anything else dropped (a text) is the control's own business.
  if (path.isEmpty()) return false;
  drop->acceptProposedAction();
  if (type == QEvent::Drop) emit Dropped(path);
  return true;
}

}  // namespace k2v
