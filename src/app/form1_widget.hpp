#pragma once
// The converter's window drawn by Qt: the controls of Form1 at their places,
// which forward the user's events to the window's behaviour (window/form1)
// and show what it tells them.

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "window/form1.hpp"
#include "window/form1_view.hpp"

class QComboBox;
class QGroupBox;
class QLabel;
class QProgressDialog;
class QPushButton;

namespace k2v {

class FolderListWidget;
class PathEdit;
class StatusLabel;

class Form1Widget : public QWidget, public Form1View {
  Q_OBJECT

 public:
  explicit Form1Widget(WindowSetup setup, QWidget* parent = nullptr);
  ~Form1Widget() override;

  Form1& Model() { return *model_; }

  void Centre() override;
  void Close() override;
  void ProcessPendingEvents() override;
  std::string PathText(Side side) const override;
  void SetPathText(Side side, const std::string& text) override;
  void SetStatusText(const std::string& text) override;
  void ShowFolderRows(Side side, const std::vector<FolderRow>& rows) override;
  void ShowDriveRows(Side side, const std::vector<DriveRow>& rows) override;
  void ShowDrive(Side side, int index) override;
  MessageAnswer ShowMessage(const MessageBoxContent& box) override;
  void SetBusy(bool busy) override;
  void FocusAndSelect(Side side) override;
  void ShowSearchProgress(const std::string& folder) override;
  bool SearchCancelled() override;
  void EndSearch() override;

  // The controls, under their names.
  QWidget* Picture1;
  QLabel* Label1;
  QLabel* Label2;
  StatusLabel* Label3;
  PathEdit* Text1;
  PathEdit* Text2;
  QGroupBox* Frame1;
  QGroupBox* Frame2;
  QGroupBox* Frame3;
  FolderListWidget* Dir1;
  FolderListWidget* Dir2;
  QComboBox* Drive1;
  QComboBox* Drive2;
  QPushButton* Command1;
  QPushButton* Command2;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void ConnectEvents();
  PathEdit* TextOf(Side side) const { return side == Side::Source ? Text2 : Text1; }
  FolderListWidget* DirOf(Side side) const { return side == Side::Source ? Dir2 : Dir1; }
  QComboBox* DriveOf(Side side) const { return side == Side::Source ? Drive2 : Drive1; }

  std::unique_ptr<QProgressDialog> search_;
  bool busy_ = false;
  std::unique_ptr<Form1> model_;
};

}  // namespace k2v
