#include "app/folder_list.hpp"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

namespace k2v {

namespace {

constexpr int kPathRole = Qt::UserRole;

QString Normal(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

}  // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (item) SetPath(item->data(kPathRole).toString());
  });
}

bool FolderList::ShowPath(const QString& path) {
  if (path.isEmpty()) return false;
  QString normal = Normal(path);
  QFileInfo info(normal);
  if (!info.isDir() || !info.isReadable() || !info.isExecutable()) return false;
  path_ = normal;
  Fill();
  return true;
}

bool FolderList::SetPath(const QString& path) {
  if (!ShowPath(path)) return false;
  emit Change();
  return true;
}

void FolderList::Fill() {
  clear();
  QDir dir(path_);
  QStyle* s = style();
  if (!dir.isRoot()) {
    auto* up = new QListWidgetItem(s->standardIcon(QStyle::SP_FileDialogToParent), "..", this);
    up->setData(kPathRole, Normal(path_ + "/.."));
  }
  const QIcon folderIcon = s->standardIcon(QStyle::SP_DirIcon);
  const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& name : names) {
    auto* item = new QListWidgetItem(folderIcon, name, this);
    item->setData(kPathRole, dir.filePath(name));
    item->setToolTip(dir.filePath(name));
  }
  if (count() > 0) setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void FolderList::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Backspace && !QDir(path_).isRoot()) {
    SetPath(path_ + "/..");
    return;
  }
  QListWidget::keyPressEvent(event);
}

}  // namespace k2v
