#pragma once
// What the batch window's behaviour (BatchWindow) asks of a view: a
// toolkit's window laid out from kBatchLayout that draws what it is told and
// forwards the user's events. The view holds no rule of its own.

#include <string>
#include <vector>

#include "window/form1_view.hpp"

namespace k2v {

// The two path boxes: the site's export folder and the destination root.
enum class BatchPath { Source, Destination };

// One row of the table, one boring: the texts of its cells.
struct BatchRow {
  std::string boring;
  std::string result;
  std::string layers;
  std::string uncodedLayers;
  std::string message;
};

class BatchView {
 public:
  virtual ~BatchView() = default;

  virtual std::string PathText(BatchPath which) const = 0;
  virtual void SetPathText(BatchPath which, const std::string& text) = 0;
  // The system's folder dialog, opened on start; the folder chosen, or the
  // empty text when the user cancelled.
  virtual std::string ChooseFolder(const std::string& title, const std::string& start) = 0;

  // The table: all rows, then one row again when it changed.
  virtual void ShowRows(const std::vector<BatchRow>& rows) = 0;
  virtual void ShowRow(int index, const BatchRow& row) = 0;
  virtual void ShowProgress(int done, int total) = 0;
  // The summary line under the table.
  virtual void ShowSummary(const std::string& text) = 0;
  // While a batch runs: 実行 and the path boxes off, 中止 on; after it the
  // other way round.
  virtual void SetRunning(bool running) = 0;
  // The buttons that open the report and the list of soil names without a
  // code, on when there is one to open.
  virtual void EnableResults(bool report, bool uncodedList) = 0;

  virtual MessageAnswer ShowMessage(const MessageBoxContent& box) = 0;
  // Opens the file with the program the system opens it with; false when it
  // cannot.
  virtual bool OpenFile(const std::string& path) = 0;
  // Called from the batch's thread: asks the window's thread to call
  // BatchWindow::Pump soon.
  virtual void WakeUp() = 0;
  // Closes the window.
  virtual void Close() = 0;
};

}  // namespace k2v
