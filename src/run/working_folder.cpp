#include "run/working_folder.hpp"

#include <algorithm>
#include <cerrno>

#include "platform/files.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// A file inside the working folder that only this program writes: a folder
// of that name without it is the user's.
constexpr const char* kMarkerName = ".kolbrix2vantor";
constexpr const char* kMarkerText = "kolbrix2vantor working folder\n";
// The final step's journal, and the folder its earlier files are moved into.
constexpr const char* kJournalName = ".journal";
constexpr const char* kJournalHeader = "kolbrix2vantor final-step journal 1\n";
constexpr const char* kJournalEnd = "end\n";
constexpr const char* kEarlierFolder = ".earlier";

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// One step of the final step, undone by the journal.
struct Step {
  // 'P' puts a new file in place, 'R' removes an earlier file.
  char kind = 'P';
  // Its name in the destination.
  std::string target;
  // 'P': the earlier file moved aside first (the target, or the same name in
  // another letter case), or empty.
  std::string earlier;
  // 'P': the new file's name in the working folder.
  std::string made;
};

// Names in the journal, one line per step: tabs, line ends and backslashes
// escaped (a name may hold any of them).
std::string Escaped(const std::string& name) {
  std::string out;
  for (char c : name) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Unescaped(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

std::string JournalText(const std::vector<Step>& steps) {
  std::string text = kJournalHeader;
  for (const Step& s : steps) {
    text += s.kind;
    text += "\t" + Escaped(s.target);
    if (s.kind == 'P') text += "\t" + Escaped(s.earlier) + "\t" + Escaped(s.made);
    text += "\n";
  }
  return text + kJournalEnd;
}

// The steps of a journal; false when it was not written to its end (the run
// was killed before its first rename).
bool ParseJournal(const std::string& text, std::vector<Step>& steps) {
  const std::string header = kJournalHeader;
  const std::string end = kJournalEnd;
  if (text.size() < header.size() + end.size() || text.compare(0, header.size(), header) != 0 ||
      text.compare(text.size() - end.size(), end.size(), end) != 0) {
    return false;
  }
  const std::string body = text.substr(header.size(), text.size() - header.size() - end.size());
  for (const std::string& line : SplitByDelimiter(body, "\n")) {
    if (line.empty()) continue;
    const std::vector<std::string> f = SplitByDelimiter(line, "\t");
    if (f[0] == "P" && f.size() == 4) {
      steps.push_back({'P', Unescaped(f[1]), Unescaped(f[2]), Unescaped(f[3])});
    } else if (f[0] == "R" && f.size() == 2) {
      steps.push_back({'R', Unescaped(f[1]), "", ""});
    } else {
      return false;
    }
  }
  return true;
}

// The destination and working folder of one final step, and its moves.
class Journal {
 public:
  Journal(std::string destination, std::string work) : destination_(std::move(destination)), work_(std::move(work)) {}

  std::string Aside(size_t i) const { return JoinPath(JoinPath(work_, kEarlierFolder), std::to_string(i)); }

  void Do(const std::vector<Step>& steps, size_t i) const {
    const Step& s = steps[i];
    if (s.kind == 'R') {
      if (EntryExists(JoinPath(destination_, s.target))) PlaceFile(JoinPath(destination_, s.target), Aside(i));
      return;
    }
    const std::string earlier = JoinPath(destination_, s.earlier);
    if (!s.earlier.empty() && EntryExists(earlier)) PlaceFile(earlier, Aside(i));
    PlaceFile(JoinPath(work_, s.made), JoinPath(destination_, s.target));
  }

  // Puts step i back as it was before it; returns true when it moved a file.
  // Each move checks where the file stands, so a second undo, after an undo
  // that was itself cut short, finishes the first.
  bool Undo(const std::vector<Step>& steps, size_t i) const {
    const Step& s = steps[i];
    bool moved = false;
    if (s.kind == 'P' && !EntryExists(JoinPath(work_, s.made)) && EntryExists(JoinPath(destination_, s.target))) {
      PlaceFile(JoinPath(destination_, s.target), JoinPath(work_, s.made));
      moved = true;
    }
    if (EntryExists(Aside(i))) {
      PlaceFile(Aside(i), JoinPath(destination_, s.kind == 'P' ? s.earlier : s.target));
      moved = true;
    }
    return moved;
  }

  bool UndoAll(const std::vector<Step>& steps) const {
    bool moved = false;
    for (size_t i = steps.size(); i-- > 0;) moved = Undo(steps, i) || moved;
    SyncFolder(destination_);
    return moved;
  }

 private:
  std::string destination_;
  std::string work_;
};

// Removes a working folder with its marker last, so that a run killed while
// removing it leaves a folder that is still known as ours.
void RemoveWorkingFolder(const std::string& folder) {
  RemoveTree(JoinPath(folder, kEarlierFolder));
  CheckFolderCanBeRead(folder);
  for (const std::string& name : ListFolderFiles(folder)) {
    if (name != kMarkerName) DeleteFileIfExists(JoinPath(folder, name));
  }
  DeleteFileIfExists(JoinPath(folder, kMarkerName));
  RemoveTree(folder);
}

}  // namespace

// The marker is written first when the folder is made and removed last, so a
// run killed in between leaves an empty folder or one that holds only the
// start of the marker: ours too, and nothing of the user's is in them.
WorkingFolder::Leftover WorkingFolder::Inspect(const std::string& destinationFolder) {
  const std::string folder = JoinPath(destinationFolder, kName);
  if (!EntryExists(folder)) return Leftover::None;
  if (!IsFolderEntry(folder)) return Leftover::Foreign;
  const std::string marker = JoinPath(folder, kMarkerName);
  try {
    CheckFolderCanBeRead(folder);
    const std::vector<std::string> entries = ListFolderEntries(folder);
    if (entries.empty()) return Leftover::Ours;
    if (!IsRegularFileEntry(marker)) return Leftover::Foreign;
    const std::string text = ReadFileBytes(marker);
    if (text == kMarkerText) return Leftover::Ours;
    const bool startOfMarker = std::string(kMarkerText).compare(0, text.size(), text) == 0;
    return startOfMarker && entries.size() == 1 ? Leftover::Ours : Leftover::Foreign;
  } catch (const FileError&) {
    return Leftover::Foreign;
  }
}

bool WorkingFolder::Recover(const std::string& destinationFolder) {
  const std::string folder = JoinPath(destinationFolder, kName);
  const std::string journal = JoinPath(folder, kJournalName);
  bool rolledBack = false;
  std::vector<Step> steps;
  if (IsRegularFileEntry(journal) && ParseJournal(ReadFileBytes(journal), steps)) {
    rolledBack = Journal(destinationFolder, JoinPath(folder, "")).UndoAll(steps);
  }
  RemoveWorkingFolder(folder);
  return rolledBack;
}

WorkingFolder::WorkingFolder(std::string destinationFolder, const std::vector<std::string>& seedNames)
    : destination_(std::move(destinationFolder)) {
  const std::string folder = JoinPath(destination_, kName);
  path_ = JoinPath(folder, "");
  // Never a folder that is already there: it is another run's or the user's.
  if (EntryExists(folder)) throw FileError(folder, SystemReason(EEXIST));
  CreateFolder(folder);
  try {
    WriteFileBytes(JoinPath(path_, kMarkerName), kMarkerText);
    for (const std::string& name : seedNames) {
      const std::string real = ResolveCase(JoinPath(destination_, name));
      if (!FileExists(real)) continue;
      const std::string spelling = PathText(NativePath(real).filename());
      CopyFileReplacing(real, JoinPath(path_, spelling));
      seeded_.push_back(spelling);
    }
  } catch (...) {
    try {
      RemoveWorkingFolder(folder);
    } catch (const FileError&) {
      // The next run removes it.
    }
    throw;
  }
}

WorkingFolder::~WorkingFolder() {
  if (keep_) return;
  try {
    RemoveWorkingFolder(JoinPath(destination_, kName));
  } catch (const FileError&) {
    // The next run removes it; the destination itself is unchanged.
  }
}

void WorkingFolder::Commit(const std::function<bool(const std::string&)>& takesNewSpelling) {
  std::vector<Step> steps;
  std::vector<std::string> targets;
  // The destination's names, read once: a folder of many files is not read
  // again for each of them.
  const FolderSpellings destinationNames(destination_);
  CheckFolderCanBeRead(path_);
  std::vector<std::string> made = ListFolderFiles(path_);
  made.erase(std::remove_if(made.begin(), made.end(),
                            [](const std::string& n) { return n == kMarkerName || n == kJournalName; }),
             made.end());
  for (const std::string& name : made) {
    const std::string from = JoinPath(path_, name);
    const std::string existingName = destinationNames.Resolve(name);
    const std::string existing = JoinPath(destination_, existingName);
    // A copied-in file that no stage changed stays as it is in the
    // destination (a link there stays a link).
    if (Contains(seeded_, name) && FileExists(existing) && ReadFileBytes(existing) == ReadFileBytes(from)) continue;
    Step s{'P', existingName, "", name};
    if (takesNewSpelling(name)) s.target = name;
    if (EntryExists(existing) && !IsFolderEntry(existing)) s.earlier = existingName;
    const std::string target = JoinPath(destination_, s.target);
    if (IsFolderEntry(target)) throw FileError(target, SystemReason(EISDIR));
    targets.push_back(s.target);
    steps.push_back(std::move(s));
  }
  // The files the stages deleted or renamed go last.
  for (const std::string& name : seeded_) {
    if (!Contains(made, name) && !Contains(targets, name)) steps.push_back({'R', name, "", ""});
  }

  // The new files and the journal are on the disk before the first file moves.
  const std::string journal = JoinPath(path_, kJournalName);
  WriteFileBytes(journal, JournalText(steps));
  std::vector<std::string> toSync;
  for (const Step& s : steps) {
    if (s.kind == 'P') toSync.push_back(JoinPath(path_, s.made));
  }
  toSync.push_back(journal);
  SyncFiles(toSync);
  CreateFolder(JoinPath(path_, kEarlierFolder));
  SyncFolder(path_);

  const Journal moves(destination_, path_);
  for (size_t i = 0; i <= steps.size(); ++i) {
    try {
      if (i < steps.size()) {
        moves.Do(steps, i);
      } else {
        SyncFolder(destination_);
      }
    } catch (const FileError& e) {
      const std::string failed = i < steps.size() ? JoinPath(destination_, steps[i].target) : e.path();
      try {
        moves.UndoAll(steps);
        DeleteFileIfExists(journal);
      } catch (const FileError&) {
        // The journal stays: the next run into this folder puts the rest back.
        keep_ = true;
      }
      throw FileError(failed, e.reason());
    }
  }
  // Done: without its journal the working folder holds only what goes.
  DeleteFileIfExists(journal);
  keep_ = true;
  RemoveWorkingFolder(JoinPath(destination_, kName));
}

}  // namespace k2v
