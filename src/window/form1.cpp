#include "window/form1.hpp"

#include <filesystem>
#include <system_error>

#include "platform/files.hpp"
#include "run/paths.hpp"
#include "run/vantor_folders.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"
#include "window/window_text.hpp"

namespace k2v {

std::string AbsoluteAtStart(const std::string& text) {
  if (text.empty()) return text;
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(NativePath(text), ec);
  return ec ? text : PathText(p.lexically_normal());
}

namespace fs = std::filesystem;

namespace {

// A run's warnings beyond this many are under the box's details.
constexpr size_t kWarningsShown = 15;
// The width of a path under a message, in half-width columns.
constexpr int kPathColumns = 48;
// Events are let through a RADUDI search this often; once per folder would
// slow the walk down without making the desktop any smoother.
constexpr std::chrono::milliseconds kSearchEventInterval{20};

std::string CurrentFolder() {
  std::error_code ec;
  const fs::path cwd = fs::current_path(ec);
  return ec ? std::string() : PathText(cwd);
}

bool IsSeparator(char c) { return c == '/' || c == NativePathRules().Separator(); }

// The drive's ganban folder in the spelling on the disk; as written when the
// drive's root cannot be read (the folder list then shows what it can).
std::string GanbanFolder(const std::string& root) {
  const std::string ganban = JoinPath(root, window_text::kGanbanFolder);
  try {
    return ResolveCase(ganban);
  } catch (const FileError&) {
    return ganban;
  }
}

}  // namespace

std::string BreakPathAtSeparators(const std::string& path, int columns) {
  // The path as pieces that each end with a separator (the last may not).
  std::vector<std::pair<std::string, int>> pieces(1);
  for (size_t at = 0; at < path.size();) {
    const size_t length = Utf8CharLength(path, at);
    const int width = DisplayColumns(std::string_view(path).substr(at, length));
    pieces.back().first += path.substr(at, length);
    pieces.back().second += width;
    const bool separator = IsSeparator(path[at]);
    at += length;
    if (separator && at < path.size()) pieces.emplace_back();
  }
  std::string laidOut;
  int lineWidth = 0;
  for (const auto& [piece, width] : pieces) {
    if (lineWidth > 0 && lineWidth + width > columns) {
      laidOut += '\n';
      lineWidth = 0;
    }
    laidOut += piece;
    lineWidth += width;
  }
  return laidOut;
}

Form1::Form1(Form1View& view, WindowSetup setup)
    : view_(view), setup_(std::move(setup)), run_(*this, NativePathRules(), setup_.runOptions) {
  if (setup_.volumes.empty()) setup_.volumes.push_back(Volume{std::string(1, NativePathRules().Separator()), "", ""});
  std::vector<DriveRow> drives;
  for (const Volume& v : setup_.volumes) {
    drives.push_back(DriveRow{v.root, v.type.empty() ? std::string() : v.source + " (" + v.type + ")"});
  }
  const std::string cwd = CurrentFolder();
  for (Side side : {Side::Destination, Side::Source}) {
    view_.ShowDriveRows(side, drives);
    view_.ShowDrive(side, 0);
    ShowDirPath(side, cwd);
    ShowDriveOf(side, cwd);
  }
}

bool Form1::Form_Load() {
  view_.Centre();

  // The message without RADUDI goes on to say where the program looked.
  std::string looked;
  const std::string radudiFolder = FindRadudi(looked);
  if (radudiFolder.empty()) {
    Message(
        MessageBoxContent{std::string(window_text::kNoRadudi) + "\n\n" + looked + "\n" + window_text::kHowToNameRadudi,
                          "", "", "", std::nullopt, MessageButtons::Ok});
    return false;
  }

  run_.StatusPending = 0;
  SetStatus(window_text::kRadudiInUse + radudiFolder);

  // The source list opens on the ganban folder of the source drive.
  const std::string ganban = GanbanFolder(DriveRoot(Side::Source));
  if (EntryExists(ganban)) SetDirPath(Side::Source, ganban);
  return true;
}

std::string Form1::FindRadudi(std::string& looked) {
  const char separator = NativePathRules().Separator();
  if (!setup_.givenRadudi.empty()) {
    std::string found;
    if (IsRadudiFolder(setup_.givenRadudi)) {
      found = setup_.givenRadudi;
      if (found.back() != separator) found += separator;
    }
    looked = setup_.givenRadudiBy + " のフォルダ" + window_text::kGivenNotRadudi + setup_.givenRadudi + "\n";
    return found;
  }

  std::vector<std::string> roots;
  for (const Volume& v : setup_.volumes) roots.push_back(v.root);
  using Clock = std::chrono::steady_clock;
  const Clock::time_point started = Clock::now();
  Clock::time_point lastEvents;
  bool eventsLetThrough = false;
  bool shown = false;
  bool cancelled = false;
  const std::string found = FindRadudiFolder(setup_.programFolder, roots, [&](const std::string& folder) {
    if (shown && view_.SearchCancelled()) {
      cancelled = true;
      return false;
    }
    const Clock::time_point now = Clock::now();
    if (eventsLetThrough && now - lastEvents < kSearchEventInterval) return true;
    eventsLetThrough = true;
    lastEvents = now;
    if (!shown && now - started >= setup_.searchWindowDelay) shown = true;
    if (shown) view_.ShowSearchProgress(folder);
    view_.ProcessPendingEvents();
    cancelled = shown && view_.SearchCancelled();
    return !cancelled;
  });
  if (shown) view_.EndSearch();

  looked = std::string(window_text::kLookedIn) + "\n  " + JoinPath(setup_.programFolder, "RADUDI") +
           window_text::kBesideProgram + "\n";
  for (const std::string& root : roots) looked += "  " + root + window_text::kEveryFolderBelow + "\n";
  if (cancelled) looked += std::string(window_text::kSearchCancelled) + "\n";
  return found;
}

void Form1::Dir1_Change() { DirChange(Side::Destination); }

void Form1::Dir2_Change() { DirChange(Side::Source); }

void Form1::DirChange(Side side) {
  const std::string& path = Dir(side).Path();
  view_.SetPathText(side, path);
  std::error_code ec;
  fs::current_path(NativePath(path), ec);
  ShowDriveOf(side, path);
}

void Form1::Drive1_Change() {
  const std::string root = DriveRoot(Side::Destination);
  const MessageBoxContent missing{
      NativePathRules().GanbanMissingMessage(), "", "", "", std::nullopt, MessageButtons::Ok};
  const std::string ganban = GanbanFolder(root);
  if (!SetDirPath(Side::Destination, ganban)) Message(missing);
  if (!MakeDriveCurrent(root)) Message(missing);
}

void Form1::Drive2_Change() {
  const std::string root = DriveRoot(Side::Source);
  const std::string cwd = CurrentFolder();
  const int here = VolumeIndexOf(setup_.volumes, cwd);
  const bool cwdOnDrive = here >= 0 && setup_.volumes[static_cast<size_t>(here)].root == root;
  SetDirPath(Side::Source, cwdOnDrive ? cwd : root);
  MakeDriveCurrent(root);
}

void Form1::Command1_Click() {
  typedSource_ = view_.PathText(Side::Source);
  typedDestination_ = view_.PathText(Side::Destination);
  RunResult result = run_.Run(TypedPathText(typedSource_), TypedPathText(typedDestination_));
  SetBusy(false);
  typedSource_.clear();
  typedDestination_.clear();
  if (result.warnings.empty()) return;
  MessageBoxContent box{"", "", "", "", MessageIcon::Information, MessageButtons::Ok};
  for (size_t i = 0; i < result.warnings.size(); ++i) {
    const std::string line = (i > 0 ? "\n" : "") + result.warnings[i];
    if (i < kWarningsShown) box.text += line;
    box.details += line;
  }
  if (result.warnings.size() > kWarningsShown) {
    box.text += "\n…";
  } else {
    box.details.clear();
  }
  Message(box);
}

void Form1::Command2_Click() { view_.Close(); }

void Form1::Picture1_MouseMove() {
  if (run_.StatusPending == 1) {
    view_.SetStatusText("");
    run_.StatusPending = 0;
  }
}

void Form1::FolderRowOpened(Side side, int row) {
  const std::vector<FolderRow>& rows = Dir(side).Rows();
  if (row < 0 || static_cast<size_t>(row) >= rows.size()) return;
  SetDirPath(side, rows[static_cast<size_t>(row)].path);
}

void Form1::FolderUp(Side side) {
  const std::string parent = Dir(side).Parent();
  if (!parent.empty()) SetDirPath(side, parent);
}

void Form1::DriveChosen(Side side, int index) {
  if (index < 0 || static_cast<size_t>(index) >= setup_.volumes.size()) return;
  DriveOf(side) = index;
  if (side == Side::Source) {
    Drive2_Change();
  } else {
    Drive1_Change();
  }
}

bool Form1::PathDropped(Side side, const std::string& path) {
  std::string folder;
  if (FolderExists(path)) {
    folder = NormalFolderPath(path);
  } else if (FileExists(path)) {
    folder = NormalFolderPath(PathText(NativePath(path).parent_path()));
  }
  if (folder.empty()) return false;
  view_.SetPathText(side, folder);
  SetDirPath(side, folder);
  return true;
}

void Form1::SetStatus(const std::string& text) { view_.SetStatusText(text); }

void Form1::ProcessPendingEvents() { view_.ProcessPendingEvents(); }

MessageAnswer Form1::ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                                 MessageButtons buttons) {
  // A title is a path, which the title bar may cut short or not show: it is
  // repeated in full under the message, as the user typed it.
  return Message(MessageBoxContent{text, title.empty() ? "" : PathAsTyped(title), "", title, icon, buttons});
}

void Form1::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  view_.SetBusy(busy);
}

void Form1::FocusAndSelect(PathBox box) { view_.FocusAndSelect(box); }

bool Form1::SetDirPath(Side side, const std::string& path) {
  if (!ShowDirPath(side, path)) return false;
  if (side == Side::Source) {
    Dir2_Change();
  } else {
    Dir1_Change();
  }
  return true;
}

bool Form1::ShowDirPath(Side side, const std::string& path) {
  if (!DirOf(side).Open(path)) return false;
  view_.ShowFolderRows(side, Dir(side).Rows());
  return true;
}

std::string Form1::DriveRoot(Side side) const { return setup_.volumes[static_cast<size_t>(Drive(side))].root; }

void Form1::ShowDriveOf(Side side, const std::string& path) {
  const int index = VolumeIndexOf(setup_.volumes, path);
  if (index < 0 || index == Drive(side)) return;
  DriveOf(side) = index;
  view_.ShowDrive(side, index);
}

bool Form1::MakeDriveCurrent(const std::string& root) {
  const int here = VolumeIndexOf(setup_.volumes, CurrentFolder());
  if (here >= 0 && setup_.volumes[static_cast<size_t>(here)].root == root) return true;
  std::error_code ec;
  fs::current_path(NativePath(root), ec);
  return !ec;
}

MessageAnswer Form1::Message(MessageBoxContent box) {
  if (box.title.empty()) box.title = window_text::kCaption;
  // A busy pointer would hide that the box waits for an answer.
  const bool wasBusy = busy_;
  if (wasBusy) view_.SetBusy(false);
  const MessageAnswer answer = view_.ShowMessage(box);
  if (wasBusy) view_.SetBusy(true);
  if (box.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  return answer == MessageAnswer::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::string Form1::PathAsTyped(const std::string& title) const {
  std::string shown = title;
  for (const std::string& typed : {typedSource_, typedDestination_}) {
    const std::string trimmed = Trim(typed);
    if (trimmed.empty()) continue;
    // The run was given the path with "." and ".." taken out.
    const std::string given = Trim(TypedPathText(typed));
    if (title == given ||
        (title.size() == given.size() + 1 && title.compare(0, given.size(), given) == 0 && IsSeparator(title.back()))) {
      shown = trimmed;
      break;
    }
  }
  return BreakPathAtSeparators(shown, kPathColumns);
}

}  // namespace k2v
