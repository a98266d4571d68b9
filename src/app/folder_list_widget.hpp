#pragma once
// A folder list (Dir1, Dir2) as Qt draws it: the rows the window gives it.
// Double click or Enter opens a row, Backspace goes up, and a folder dropped
// from the file manager is passed on.

#include <QListWidget>
#include <QString>
#include <vector>

#include "window/form1_view.hpp"

namespace k2v {

class FolderListWidget : public QListWidget {
  Q_OBJECT

 public:
  explicit FolderListWidget(QWidget* parent = nullptr);

  void ShowRows(const std::vector<FolderRow>& rows);

 signals:
  void RowOpened(int row);
  void UpPressed();
  void PathDropped(const QString& path);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

}  // namespace k2v
