#include "app/folder_list_widget.hpp"

#include <QDropEvent>
#include <QKeyEvent>
#include <QStyle>

#include "app/path_edit.hpp"

namespace k2v {

FolderListWidget::FolderListWidget(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setAcceptDrops(true);
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (item) emit RowOpened(row(item));
  });
}

void FolderListWidget::ShowRows(const std::vector<FolderRow>& rows) {
  clear();
  QStyle* s = style();
  const QIcon upIcon = s->standardIcon(QStyle::SP_FileDialogToParent);
  const QIcon folderIcon = s->standardIcon(QStyle::SP_DirIcon);
  for (const FolderRow& r : rows) {
    auto* item = new QListWidgetItem(r.up ? upIcon : folderIcon, QString::fromStdString(r.text), this);
    if (!r.up) item->setToolTip(QString::fromStdString(r.path));
  }
  if (count() > 0) setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void FolderListWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Backspace) {
    emit UpPressed();
    return;
  }
  QListWidget::keyPressEvent(event);
}

void FolderListWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedPath(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QListWidget::dragEnterEvent(event);
}

void FolderListWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (!DroppedPath(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QListWidget::dragMoveEvent(event);
}

void FolderListWidget::dropEvent(QDropEvent* event) {
  const QString path = DroppedPath(event->mimeData());
  if (path.isEmpty()) {
    QListWidget::dropEvent(event);
    return;
  }
  event->acceptProposedAction();
  emit PathDropped(path);
}

}  // namespace k2v
