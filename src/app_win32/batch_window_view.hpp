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

class BatchWindowView : public BatchView {
 public:
  // Creates the window, hidden, and its behaviour behind it.
  explicit BatchWindowView(BatchWindowSetup setup);
  ~BatchWindowView() override;
  BatchWindowView(const BatchWindowView&) = delete;
  BatchWindowView& operator=(const BatchWindowView&) = delete;

  BatchWindow& Model() { return *model_; }
  // A control by its name ("Batch" for the window itself); nullptr for none.
  // A test seam.
  HWND Control(const std::string& name) const;
  // Shows the window and runs its messages until it is closed.
  int Run();
  // Lets the window handle the messages waiting for it (a test seam).
  void ProcessPendingEvents();

  // Test seams: message boxes and files to open go to them instead.
  using MessageSeam = std::function<MessageAnswer(const MessageBoxContent&)>;
  void SetMessageSeam(MessageSeam seam) { messageSeam_ = std::move(seam); }
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
  MessageAnswer ShowMessage(const MessageBoxContent& box) override;
  bool OpenFile(const std::string& path) override;
  void WakeUp() override;
  void Close() override;

 private:
  static LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnPictureMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Layout(int dpi);
  void OnCommand(int id, int code);
  void OnDrop(HDROP drop);
  HWND PathBox(BatchPath which) const;

  HWND form_ = nullptr;
  HWND picture_ = nullptr;
  std::unique_ptr<LaidOutControls> controls_;
  HFONT font_ = nullptr;
  HBRUSH grey_ = nullptr;
  bool running_ = false;
  MessageSeam messageSeam_;
  OpenSeam openSeam_;
  std::unique_ptr<BatchWindow> model_;
};

}  // namespace k2v
