#pragma once
// A folder list: the subfolders of one folder, with ".." to go up. Double
// click or Enter opens a folder, Backspace goes up.

#include <QListWidget>
#include <QString>

namespace k2v {

class FolderList : public QListWidget {
  Q_OBJECT

 public:
  explicit FolderList(QWidget* parent = nullptr);

  // The folder shown, absolute, without a final "/" (except the root).
  const QString& Path() const { return path_; }
  // Opens the folder and reports the change; false (and nothing changes)
  // when it is not a folder that can be read.
  bool SetPath(const QString& path);
  // Opens the folder without reporting a change.
  bool ShowPath(const QString& path);

 signals:
  // The folder shown has changed.
  void Change();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Fill();

  QString path_;
};

}  // namespace k2v
