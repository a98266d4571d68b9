#pragma once
// The batch window (一括変換) drawn by Qt, laid out from kBatchLayout: its
// controls forward the user's events to the batch window's behaviour
// (window/batch_window) and show what it tells them.

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "window/batch_view.hpp"
#include "window/batch_window.hpp"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace k2v {

class PathEdit;
class StatusLabel;

class BatchWidget : public QWidget, public BatchView {
  Q_OBJECT

 public:
  explicit BatchWidget(BatchWindowSetup setup, QWidget* parent = nullptr);
  ~BatchWidget() override;

  BatchWindow& Model() { return *model_; }

  std::string PathText(BatchPath which) const override;
  void SetPathText(BatchPath which, const std::string& text) override;
  std::string ChooseFolder(const std::string& title, const std::string& start) override;
  void ShowRows(const std::vector<BatchRow>& rows) override;
  void ShowRow(int index, const BatchRow& row) override;
  void ShowProgress(int done, int total) override;
  void ShowSummary(const std::string& text) override;
  void SetRunning(bool running) override;
  void EnableResults(bool report, bool uncodedList) override;
  MessageAnswer ShowMessage(const MessageBoxContent& box) override;
  bool OpenFile(const std::string& path) override;
  void WakeUp() override;
  void Close() override;

  // The controls, under the layout's names.
  PathEdit* SourceRoot;
  PathEdit* DestinationRoot;
  QPushButton* SourceBrowse;
  QPushButton* DestinationBrowse;
  QProgressBar* Progress;
  QTableWidget* Borings;
  StatusLabel* Summary;
  QPushButton* Execute;
  QPushButton* Cancel;
  QPushButton* OpenReport;
  QPushButton* OpenUncodedList;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  PathEdit* PathBox(BatchPath which) const { return which == BatchPath::Source ? SourceRoot : DestinationRoot; }

  bool closing_ = false;
  std::unique_ptr<BatchWindow> model_;
};

}  // namespace k2v
