#pragma once
// What the window's behaviour (Form1) asks of a view: a toolkit's window that
// creates the controls, draws what it is told and forwards the user's
// events to Form1. The view holds no rule of its own.

#include <optional>
#include <string>
#include <vector>

#include "run/front_end.hpp"

namespace k2v {

// The two sides of the window. Source: Text2, Dir2, Drive2 in Frame2.
// Destination: Text1, Dir1, Drive1 in Frame1.
using Side = PathBox;

// One row of a folder list, which shows the folder it lists in its place in
// the tree: the folders that hold it from the root down, the folder itself
// (current), then its subfolders one level deeper. Opening a row opens its folder.
struct FolderRow {
  std::string text;
  std::string path;
  // Levels below the root, for the row's indent.
  int depth = 0;
  bool current = false;
};

// One row of a drive list: its text and what a hover tells about it.
struct DriveRow {
  std::string text;
  std::string tip;
};

// A message box as the user sees it.
struct MessageBoxContent {
  std::string text;
  // Shown under the text (a path, broken at its separators); may be empty.
  std::string informative;
  // The whole of a long list whose start is in text; may be empty. A view
  // without room for it shows text alone.
  std::string details;
  std::string title;
  // No icon when empty.
  std::optional<MessageIcon> icon;
  MessageButtons buttons = MessageButtons::Ok;
};

class Form1View {
 public:
  virtual ~Form1View() = default;

  // Moves the window to the middle of the screen.
  virtual void Centre() = 0;
  // Closes the window; with it the program ends.
  virtual void Close() = 0;
  // Lets the window process its pending paint and input events once.
  virtual void ProcessPendingEvents() = 0;

  // The text of a path box (Text2 or Text1), and setting it.
  virtual std::string PathText(Side side) const = 0;
  virtual void SetPathText(Side side, const std::string& text) = 0;
  // The status line Label3.
  virtual void SetStatusText(const std::string& text) = 0;
  // The rows of a folder list (Dir2 or Dir1).
  virtual void ShowFolderRows(Side side, const std::vector<FolderRow>& rows) = 0;
  // The rows of a drive list (Drive2 or Drive1), and which one it shows.
  virtual void ShowDriveRows(Side side, const std::vector<DriveRow>& rows) = 0;
  virtual void ShowDrive(Side side, int index) = 0;

  // Shows a message box and returns the button chosen.
  virtual MessageAnswer ShowMessage(const MessageBoxContent& box) = 0;
  // The busy (hourglass) pointer on or off.
  virtual void SetBusy(bool busy) = 0;
  // Moves the focus to a path box and selects its whole text.
  virtual void FocusAndSelect(Side side) = 0;

  // The small window of a long RADUDI search: shown (or updated) with the
  // folder being searched, asked whether its Cancel was pressed, and ended.
  virtual void ShowSearchProgress(const std::string& folder) = 0;
  virtual bool SearchCancelled() = 0;
  virtual void EndSearch() = 0;
};

}  // namespace k2v
