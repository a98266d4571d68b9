#pragma once
// The converter's window: the source and destination folders chosen from
// drive and folder lists or typed, "実  行" to convert, "終  了" to leave,
// and the status line of the last run.

#include <QMessageBox>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/volumes.hpp"
#include "run/conversion_run.hpp"
#include "run/front_end.hpp"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace k2v {

class FolderList;
class PathEdit;

// What the window is given from outside: the drives, the folder of the
// program file (where RADUDI is looked for first) and the run's options.
struct WindowSetup {
  std::vector<Volume> volumes;
  std::string programFolder;
  RunOptions runOptions;
  // The RADUDI folder named at start-up, which replaces the search, and
  // what named it ("--radudi", or the environment variable).
  std::string givenRadudi;
  std::string givenRadudiBy;
  // How long a RADUDI search runs before its window appears.
  int searchWindowDelayMs = 500;
};

class Form1 : public QWidget, public FrontEnd {
  Q_OBJECT

 public:
  explicit Form1(WindowSetup setup, QWidget* parent = nullptr);
  ~Form1() override;

  // Start-up, before the window is shown: centres it, finds RADUDI (false
  // after telling the user there is none: the program ends), clears
  // StatusPending and opens the source list on the source drive's ganban
  // folder when there is one.
  bool Form_Load();

  void Dir1_Change();
  void Dir2_Change();
  void Drive1_Change();
  void Drive2_Change();
  void Command1_Click();
  void Command2_Click();
  void Picture1_MouseMove();

  // 1 from the start of a run's stages until the mouse next moves over
  // Picture1.
  int StatusPending() const { return run_.StatusPending; }
  // Vantor's pattern-data folder found at start-up, with a final "/".
  const std::string& RadudiFolder() const { return radudiFolder_; }

  // What a run asks of the window.
  void SetStatus(const std::string& text) override;
  void ProcessPendingEvents() override;
  MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                            MessageButtons buttons) override;
  void SetBusy(bool busy) override;
  void FocusAndSelect(PathBox box) override;

  // The controls, under their names.
  QWidget* Picture1;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  PathEdit* Text1;
  PathEdit* Text2;
  QGroupBox* Frame1;
  QGroupBox* Frame2;
  QGroupBox* Frame3;
  FolderList* Dir1;
  FolderList* Dir2;
  QComboBox* Drive1;
  QComboBox* Drive2;
  QPushButton* Command1;
  QPushButton* Command2;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void ConnectHandlers();
  // A message box titled with the window caption when title is empty.
  QMessageBox::StandardButton Message(const QString& text, const QString& title, QMessageBox::Icon icon,
                                      QMessageBox::StandardButtons buttons);
  // The root of the volume a drive list shows.
  std::string DriveRoot(const QComboBox* drive) const;
  // Shows the volume that holds path in the drive list, without reporting a
  // drive change.
  void ShowDriveOf(QComboBox* drive, const QString& path);
  // Makes the drive's volume hold the process's current folder; false when
  // its root cannot be entered.
  bool MakeDriveCurrent(const std::string& root);

  WindowSetup setup_;
  ConversionRun run_;
  std::string radudiFolder_;
  bool busy_ = false;
};

}  // namespace k2v
