#pragma once
// A Win32 window laid out from its table (window/window_layout.hpp), as both
// windows are. The window makes the first control, its picture, itself;
// every other control is made on the picture at its place on the window (its
// containers' places added), and moved and given the font again for the DPI
// of the monitor the window is on.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "window/form1_view.hpp"
#include "window/window_layout.hpp"

namespace k2v {

class LaidOutControls {
 public:
  // Creates the controls after the picture, in tab order, with the ids
  // firstId, firstId + 1, ...
  LaidOutControls(HWND picture, const WindowLayout& layout, int firstId);

  // The control at index in the layout's table (0: the picture).
  HWND operator[](size_t index) const { return controls_[index]; }
  // The control of that name; null for none.
  HWND Named(std::string_view name) const;
  size_t size() const { return controls_.size(); }
  const WindowLayout& Layout() const { return layout_; }

  // Gives every control its place and the font for dpi.
  void Place(int dpi, HFONT font) const;

 private:
  const WindowLayout& layout_;
  std::vector<HWND> controls_;
};

// A place in twips in pixels at dpi.
RECT PixelRect(const ControlPlace& place, int dpi);

// The form of a window laid out from its table (a top-level window with the
// layout's caption and the program's icon, its client area the layout's
// size at its DPI), the picture that fills it and paints the layout's
// background under labels and frames, and the controls on the picture. The
// window built on it (Form1Window, BatchWindowView) handles their messages
// once its behaviour is there, and draws what the behaviour tells it.
class LaidOutWindow {
 public:
  virtual ~LaidOutWindow();
  LaidOutWindow(const LaidOutWindow&) = delete;
  LaidOutWindow& operator=(const LaidOutWindow&) = delete;

  // A control by its name, the form by the window's own name ("Form1",
  // "Batch"); nullptr for none (and for the form once it is closed). A test
  // seam.
  HWND Control(const std::string& name) const;

  // A test seam: message boxes are given to it instead of being shown.
  using MessageSeam = std::function<MessageAnswer(const MessageBoxContent&)>;
  void SetMessageSeam(MessageSeam seam) { messageSeam_ = std::move(seam); }

 protected:
  // The window classes of the form and of the picture, registered on first
  // use.
  struct Classes {
    const wchar_t* form;
    const wchar_t* picture;
  };
  // Makes the form, hidden, its picture and the controls; the window lays
  // them out (Layout) once it has made its own parts.
  LaidOutWindow(const WindowLayout& layout, std::string name, Classes classes);

  HWND Form() const { return form_; }
  HWND Picture() const { return picture_; }
  // The control at index in the layout's table (0: the picture).
  HWND At(size_t index) const { return (*controls_)[index]; }
  // The index in the layout's table of the control a command comes from.
  static int IndexOfId(int id);
  HFONT Font() const { return font_; }

  // Sizes the form for dpi and places the controls with the font for it; a
  // window that has more to place adds it after this.
  virtual void Layout(int dpi);
  // True once the window's behaviour is there: until then the form and the
  // picture leave every message to the system.
  virtual bool Ready() const { return false; }
  // What the form and the picture do with every window's messages: the form
  // ends the message loop when it is destroyed and lays itself out again on
  // a monitor of another DPI; the picture gives labels and frames its
  // background. A window handles its own messages first and leaves the rest
  // to these.
  virtual LRESULT OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnPictureMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Shows the form, gives focus the focus (when not null) and runs the
  // messages until the form is closed; the program's exit status.
  int RunMessages(HWND focus);
  // Handles the messages waiting; the dialog keys go to the form and to
  // dialog (when not null).
  void PumpMessages(HWND dialog);
  // Moves the form to the middle of the screen's work area.
  void CentreForm();
  void CloseForm();
  // Shows the box over the form (when it shows), or gives it to the seam.
  MessageAnswer AskWithBox(const MessageBoxContent& box) const;

 private:
  static LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  const WindowLayout& layout_;
  const std::string name_;
  HWND form_ = nullptr;
  HWND picture_ = nullptr;
  std::unique_ptr<LaidOutControls> controls_;
  HFONT font_ = nullptr;
  HBRUSH background_ = nullptr;
  bool running_ = false;
  MessageSeam messageSeam_;
};

}  // namespace k2v
