#pragma once
// The converter's window, Form1, without a toolkit: start-up, the handlers
// of its controls, what its folder and drive lists hold, and what a run asks
// of it. A view (Form1View) draws it and forwards the user's events here.

#include <chrono>
#include <string>
#include <vector>

#include "platform/volumes.hpp"
#include "run/conversion_run.hpp"
#include "run/front_end.hpp"
#include "window/folder_list.hpp"
#include "window/form1_view.hpp"

namespace k2v {

// What the window is given from outside: the drives, the folder of the
// program file (where RADUDI is looked for first) and the run's options.
// A folder named on the window's command line, absolute against the folder
// the program started in (a folder list may change the current folder
// later); the empty text stays empty.
std::string AbsoluteAtStart(const std::string& text);

struct WindowSetup {
  std::vector<Volume> volumes;
  std::string programFolder;
  RunOptions runOptions;
  // The RADUDI folder named at start-up, which replaces the search, and
  // what named it ("--radudi", or the environment variable).
  std::string givenRadudi;
  std::string givenRadudiBy;
  // How long a RADUDI search runs before its window appears.
  std::chrono::milliseconds searchWindowDelay{500};
};

class Form1 : public FrontEnd {
 public:
  // Fills the drive lists and opens both folder lists on the current folder
  // (and drive); the path boxes stay empty.
  Form1(Form1View& view, WindowSetup setup);

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

  // The user's events on the lists and boxes, as the views forward them.
  // A row of a folder list opened (double click, Enter).
  void FolderRowOpened(Side side, int row);
  // Backspace in a folder list: the folder above.
  void FolderUp(Side side);
  // A drive picked in a drive list, even the one it showed already.
  void DriveChosen(Side side, int index);
  // A file or folder dropped on a path box or a folder list: that side
  // moves to the folder (a file stands for its folder). False when the path
  // names neither.
  bool PathDropped(Side side, const std::string& path);

  // 1 from the start of a run's stages until the mouse next moves over
  // Picture1.
  int StatusPending() const { return run_.StatusPending; }
  const FolderList& Dir(Side side) const { return side == Side::Source ? dir2_ : dir1_; }
  int Drive(Side side) const { return side == Side::Source ? drive2_ : drive1_; }

  // What a run asks of the window.
  void SetStatus(const std::string& text) override;
  void ProcessPendingEvents() override;
  MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                            MessageButtons buttons) override;
  void SetBusy(bool busy) override;
  void FocusAndSelect(PathBox box) override;

 private:
  FolderList& DirOf(Side side) { return side == Side::Source ? dir2_ : dir1_; }
  int& DriveOf(Side side) { return side == Side::Source ? drive2_ : drive1_; }
  // Opens a folder list on path and runs its change handler; false when the
  // folder cannot be opened (nothing changes).
  bool SetDirPath(Side side, const std::string& path);
  // Opens a folder list on path without running its handler.
  bool ShowDirPath(Side side, const std::string& path);
  void DirChange(Side side);
  // The root of the drive a drive list shows.
  std::string DriveRoot(Side side) const;
  // Shows the drive that holds path in the drive list, without running the
  // drive handler.
  void ShowDriveOf(Side side, const std::string& path);
  // Makes the drive hold the process's current folder; false when its root
  // cannot be entered.
  bool MakeDriveCurrent(const std::string& root);
  // A message box of the window, titled with the caption when title is empty.
  MessageAnswer Message(MessageBoxContent box);
  // The path of a message's title as the user typed it (the path boxes as
  // they stood when the run started), broken at separators to fit the box.
  std::string PathAsTyped(const std::string& title) const;
  std::string FindRadudi(std::string& looked);

  Form1View& view_;
  WindowSetup setup_;
  ConversionRun run_;
  FolderList dir1_;
  FolderList dir2_;
  int drive1_ = 0;
  int drive2_ = 0;
  bool busy_ = false;
  std::string typedSource_;
  std::string typedDestination_;
};

// A path laid out in lines of at most columns (a full-width character takes
// two), broken only after a separator; a name longer than a line keeps a
// line of its own.
std::string BreakPathAtSeparators(const std::string& path, int columns);

}  // namespace k2v
