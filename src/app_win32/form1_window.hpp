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

class Form1Window : public Form1View {
 public:
  // Creates the window, hidden, and the window's behaviour behind it.
  explicit Form1Window(WindowSetup setup);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  Form1& Model() { return *model_; }
  // A control by its name ("Form1", "Text1", "Picture1", ...); nullptr for
  // none (and for Form1 once the window is closed). A test seam.
  HWND Control(const std::string& name) const;

  // Shows the window and runs its messages until it is closed; the
  // program's exit status.
  int Run();

  // A test seam: message boxes are given to it instead of being shown.
  using MessageSeam = std::function<MessageAnswer(const MessageBoxContent&)>;
  void SetMessageSeam(MessageSeam seam) { messageSeam_ = std::move(seam); }

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
  bool SearchCancelled() override { return searchCancelled_; }
  void EndSearch() override;

 private:
  static LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SearchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnPictureMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  // Places the window and every control for the DPI and makes the font.
  void Layout(int dpi);
  int Scale(int twips) const { return MulDiv(twips, dpi_, 1440); }
  void OnCommand(int id, int code);
  // Enter outside a text box: opens the folder list's row, presses the
  // focused button.
  void OnEnter();
  void OnDrop(HDROP drop);
  HWND TextOf(Side side) const;
  HWND DirOf(Side side) const;
  HWND DriveOf(Side side) const;

  HWND form_ = nullptr;
  HWND picture_ = nullptr;
  std::unique_ptr<LaidOutControls> controls_;
  HWND tooltip_ = nullptr;
  HWND search_ = nullptr;
  HWND searchFolder_ = nullptr;
  bool searchCancelled_ = false;
  HWND lastFocus_ = nullptr;
  // A drive pick posted and not yet handled, per side (source, destination).
  bool drivePicked_[2] = {false, false};
  HFONT font_ = nullptr;
  HBRUSH grey_ = nullptr;
  int dpi_ = 96;
  bool busy_ = false;
  bool running_ = false;
  std::wstring status_;
  // The text of the path box's hover, while it shows.
  std::wstring tipText_;
  MessageSeam messageSeam_;
  std::unique_ptr<Form1> model_;
};

}  // namespace k2v
