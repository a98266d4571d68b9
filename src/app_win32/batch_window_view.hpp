#pragma once
// The batch window (一括変換) drawn with the Windows API alone, laid out from
// kBatchLayout: its controls forward the user's events to the batch window's
// behaviour (window/batch_window) and show what it tells them.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_win32/laid_out_window.hpp"
#include "window/batch_view.hpp"
#include "window/batch_window.hpp"

namespace k2v {

class BatchWindowView : public LaidOutWindow, public BatchView {
 public:
  // Creates the window, hidden, and its behaviour behind it.
  explicit BatchWindowView(BatchWindowSetup setup);
  ~BatchWindowView() override;

  BatchWindow& Model() { return *model_; }
  // Shows the window and runs its messages until it is closed.
  int Run();
  // Lets the window handle the messages waiting for it (a test seam).
  void ProcessPendingEvents() { PumpMessages(nullptr); }

  // A test seam: files to open go to it instead.
  using OpenSeam = std::function<bool(const std::string&)>;
  void SetOpenSeam(OpenSeam seam) { openSeam_ = std::move(seam); }

  std::string PathText(BatchPath which) const override;
  void SetPathText(BatchPath which, const std::string& text) override;
  std::string ChooseFolder(const std::string& title, const std::string& start) override;
  void ShowRows(const std::vector<BatchRow>& rows) override;
  void ShowRow(int index, const BatchRow& row) override;
  void ShowProgress(int done, int total) override;
  void ShowSummary(const std::string& text) override;
  void SetRunning(bool running) override;
  void EnableResults(bool report, bool uncodedList) override;
  MessageAnswer ShowMessage(const MessageBoxContent& box) override { return AskWithBox(box); }
  bool OpenFile(const std::string& path) override;
  void WakeUp() override;
  void Close() override { CloseForm(); }

 private:
  void Layout(int dpi) override;
  bool Ready() const override { return model_ != nullptr; }
  LRESULT OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnPictureMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int code);
  void OnDrop(HDROP drop);
  HWND PathBox(BatchPath which) const;

  OpenSeam openSeam_;
  std::unique_ptr<BatchWindow> model_;
};

}  // namespace k2v
