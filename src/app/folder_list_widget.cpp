#include "app/folder_list_widget.hpp"

#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace k2v {

namespace {

// The indent of one level of the tree, in pixels.
constexpr int kIndent = 10;
// Where a row keeps its depth.
constexpr int kDepthRole = Qt::UserRole + 1;

// Draws each row indented by its depth.
class IndentDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem indented = option;
    indented.rect.setLeft(option.rect.left() + kIndent * index.data(kDepthRole).toInt());
    QStyledItemDelegate::paint(painter, indented, index);
  }
};

}  // namespace

FolderListWidget::FolderListWidget(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setItemDelegate(new IndentDelegate(this));
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (item) emit RowOpened(row(item));
  });
}

void FolderListWidget::ShowRows(const std::vector<FolderRow>& rows) {
  clear();
  QStyle* s = style();
  const QIcon openIcon = s->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon folderIcon = s->standardIcon(QStyle::SP_DirIcon);
  int current = 0;
  bool below = false;
  for (const FolderRow& r : rows) {
    // The folder shown and those that hold it are open folders.
    auto* item = new QListWidgetItem(below ? folderIcon : openIcon, QString::fromStdString(r.text), this);
    item->setData(kDepthRole, r.depth);
    item->setToolTip(QString::fromStdString(r.path));
    if (r.current) {
      current = count() - 1;
      below = true;
    }
  }
  if (count() == 0) return;
  setCurrentRow(current);
  scrollToItem(item(current), QAbstractItemView::PositionAtTop);
}

void FolderListWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Backspace) {
    emit UpPressed();
    return;
  }
  QListWidget::keyPressEvent(event);
}

}  // namespace k2v
