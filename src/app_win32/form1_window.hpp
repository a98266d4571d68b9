#pragma once
// The converter's window drawn with the Windows API alone: the controls of
// Form1 at their places (in twips, scaled by the window's DPI), which forward
// the user's events to the window's behaviour (window/form1) and show what
// it tells them.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_win32/laid_out_window.hpp"
#include "window/form1.hpp"
#include "window/form1_view.hpp"

namespace k2v {

class Form1Window : public LaidOutWindow, public Form1View {
 public:
  // Creates the window, hidden, and the window's behaviour behind it.
  explicit Form1Window(WindowSetup setup);
  ~Form1Window() override;

  Form1& Model() { return *model_; }

  // Shows the window and runs its messages until it is closed; the
  // program's exit status.
  int Run() { return RunMessages(nullptr); }

  void Centre() override { CentreForm(); }
  void Close() override { CloseForm(); }
  void ProcessPendingEvents() override { PumpMessages(search_); }
  std::string PathText(Side side) const override;
  void SetPathText(Side side, const std::string& text) override;
  void SetStatusText(const std::string& text) override;
  void ShowFolderRows(Side side, const std::vector<FolderRow>& rows) override;
  void ShowDriveRows(Side side, const std::vector<DriveRow>& rows) override;
  void ShowDrive(Side side, int index) override;
  MessageAnswer ShowMessage(const MessageBoxContent& box) override { return AskWithBox(box); }
  void SetBusy(bool busy) override;
  void FocusAndSelect(Side side) override;
  void ShowSearchProgress(const std::string& folder) override;
  bool SearchCancelled() override { return searchCancelled_; }
  void EndSearch() override;

 private:
  static LRESULT CALLBACK SearchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  bool Ready() const override { return model_ != nullptr; }
  LRESULT OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnPictureMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void CreateTips();
  // Places the window and every control for the DPI and makes the font.
  void Layout(int dpi) override;
  int Scale(int twips) const { return MulDiv(twips, dpi_, 1440); }
  void OnCommand(int id, int code);
  // Enter outside a text box: opens the folder list's row, presses the
  // focused button.
  void OnEnter();
  void OnDrop(HDROP drop);
  HWND TextOf(Side side) const;
  HWND DirOf(Side side) const;
  HWND DriveOf(Side side) const;

  HWND tooltip_ = nullptr;
  HWND search_ = nullptr;
  HWND searchFolder_ = nullptr;
  bool searchCancelled_ = false;
  HWND lastFocus_ = nullptr;
  // A drive pick posted and not yet handled, per side (source, destination).
  bool drivePicked_[2] = {false, false};
  int dpi_ = 96;
  bool busy_ = false;
  std::wstring status_;
  // The text of the path box's hover, while it shows.
  std::wstring tipText_;
  std::unique_ptr<Form1> model_;
};

}  // namespace k2v
