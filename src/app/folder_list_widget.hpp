#pragma once
// A folder list (Dir1, Dir2) as Qt draws it: the rows the window gives it,
// each indented by its depth, the folder shown selected at the top. Double
// click or Enter opens a row, Backspace goes up.

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

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace k2v
