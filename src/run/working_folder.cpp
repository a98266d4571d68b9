#include "run/working_folder.hpp"

#include <algorithm>
#include <cerrno>

#include "platform/files.hpp"
#include "platform/folder_lock.hpp"
#include "platform/held_folder.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// A file inside the working folder that only this program writes: a folder
// of that name without it is the user's.
constexpr const char* kMarkerName = ".kolbrix2vantor";
constexpr const char* kMarkerText = "kolbrix2vantor working folder\n";
// The final step's journal, and the folder its earlier files are moved into.
// Once every file is in place the journal takes its second name: from then
// on the new conversion stands, and a run killed in the clean-up is finished
// by the next run, not undone.
constexpr const char* kJournalName = ".journal";
constexpr const char* kCommittedName = ".journal-committed";
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

// The steps of a journal; false when it is damaged (not written to its end,
// as when the run was killed before its first rename).
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

// True when the names of a journal are the destination's own files: plain
// names (nothing outside the destination or the working folder), no name of
// the program's own folders and files, and an earlier file that is the
// target in another letter case at most. A journal that names anything else
// was not written by this program.
bool NamesAreTheDestinations(const std::vector<Step>& steps) {
  auto isOneOf = [](const std::string& name, std::initializer_list<const char*> own) {
    for (const char* o : own) {
      if (SameNameIgnoringCase(name, o)) return true;
    }
    return false;
  };
  auto destinationName = [&](const std::string& name) {
    return IsPlainName(name) && !isOneOf(name, {WorkingFolder::kName, kFolderLockName});
  };
  for (const Step& s : steps) {
    if (!destinationName(s.target)) return false;
    if (s.kind == 'R') continue;
    if (!s.earlier.empty() && !SameNameIgnoringCase(s.earlier, s.target)) return false;
    if (!IsPlainName(s.made) || isOneOf(s.made, {kMarkerName, kJournalName, kCommittedName, kEarlierFolder})) {
      return false;
    }
  }
  return true;
}

// The destination, the working folder and its folder of earlier files, held
// open, and the moves of one final step between them. No move follows a link.
class Journal {
 public:
  Journal(const HeldFolder& destination, const HeldFolder& work, const HeldFolder* earlier)
      : destination_(destination), work_(work), earlier_(earlier) {}

  static std::string Aside(size_t i) { return std::to_string(i); }

  void Do(const std::vector<Step>& steps, size_t i) const {
    const Step& s = steps[i];
    if (s.kind == 'R') {
      if (destination_.KindOf(s.target) != HeldFolder::Kind::None) destination_.Move(s.target, *earlier_, Aside(i));
      return;
    }
    if (!s.earlier.empty() && destination_.KindOf(s.earlier) != HeldFolder::Kind::None) {
      destination_.Move(s.earlier, *earlier_, Aside(i));
    }
    work_.Move(s.made, destination_, s.target);
  }

  // True when step i stands done: its new file in place (or its file
  // removed).
  bool Done(const std::vector<Step>& steps, size_t i) const {
    const Step& s = steps[i];
    if (s.kind == 'R') return destination_.KindOf(s.target) == HeldFolder::Kind::None;
    return work_.KindOf(s.made) == HeldFolder::Kind::None && destination_.KindOf(s.target) != HeldFolder::Kind::None;
  }

  // True when the clean-up after the commit point had begun: every step
  // done and none of the earlier files that steps moved aside left. (A run
  // of an earlier version went on to remove them while its journal could not
  // be deleted; undoing would take the new files away with nothing to put
  // back.)
  bool CleanUpHadBegun(const std::vector<Step>& steps) const {
    bool movedAside = false;
    for (size_t i = 0; i < steps.size(); ++i) {
      if (!Done(steps, i)) return false;
      movedAside = movedAside || steps[i].kind == 'R' || !steps[i].earlier.empty();
    }
    return movedAside && (!earlier_ || earlier_->Names().empty());
  }

  // Puts step i back as it was before it; returns true when it moved a file.
  // Each move checks where the file stands, so a second undo, after an undo
  // that was itself cut short, finishes the first.
  bool Undo(const std::vector<Step>& steps, size_t i) const {
    const Step& s = steps[i];
    bool moved = false;
    if (s.kind == 'P' && Done(steps, i)) {
      destination_.Move(s.target, work_, s.made);
      moved = true;
    }
    if (earlier_ && earlier_->KindOf(Aside(i)) != HeldFolder::Kind::None) {
      earlier_->Move(Aside(i), destination_, s.kind == 'P' ? s.earlier : s.target);
      moved = true;
    }
    return moved;
  }

  bool UndoAll(const std::vector<Step>& steps) const {
    bool moved = false;
    for (size_t i = steps.size(); i-- > 0;) moved = Undo(steps, i) || moved;
    destination_.Sync();
    return moved;
  }

 private:
  const HeldFolder& destination_;
  const HeldFolder& work_;
  // Null when the run ended before it made the folder.
  const HeldFolder* earlier_;
};

// Removes the working folder, its marker last, so that a run killed while
// removing it leaves a folder that is still known as ours. Never while a
// journal in it may still have to put earlier files back: those and the new
// files stay until the journal is gone.
void ClearWorkingFolder(const HeldFolder& destination) {
  {
    const HeldFolder work = destination.Sub(WorkingFolder::kName);
    if (work.KindOf(kJournalName) != HeldFolder::Kind::None) {
      throw FileError(work.PathOf(kJournalName), SystemReason(EEXIST));
    }
    if (work.KindOf(kEarlierFolder) != HeldFolder::Kind::None) work.RemoveTree(kEarlierFolder);
    for (const std::string& name : work.Names()) {
      if (name != kMarkerName) work.RemoveTree(name);
    }
    work.Delete(kMarkerName);
  }
  // The folder is no longer held: Windows removes no folder that is.
  destination.RemoveTree(WorkingFolder::kName);
}

void ClearWorkingFolder(const std::string& destinationFolder) { ClearWorkingFolder(HeldFolder(destinationFolder)); }

}  // namespace

// The marker is written first when the folder is made and removed last, so a
// run killed in between leaves an empty folder or one that holds only the
// start of the marker: ours too, and nothing of the user's is in them.
WorkingFolder::Leftover WorkingFolder::Inspect(const std::string& destinationFolder) {
  const HeldFolder destination(destinationFolder);
  const HeldFolder::Kind kind = destination.KindOf(kName);
  if (kind == HeldFolder::Kind::None) return Leftover::None;
  if (kind != HeldFolder::Kind::Folder) return Leftover::Foreign;
  const HeldFolder work = destination.Sub(kName);
  const std::vector<std::string> entries = work.Names();
  if (entries.empty()) return Leftover::Ours;
  if (work.KindOf(kMarkerName) != HeldFolder::Kind::File) return Leftover::Foreign;
  const std::string text = work.ReadFile(kMarkerName);
  if (text == kMarkerText) return Leftover::Ours;
  const bool startOfMarker = std::string(kMarkerText).compare(0, text.size(), text) == 0;
  return startOfMarker && entries.size() == 1 ? Leftover::Ours : Leftover::Foreign;
}

WorkingFolder::Recovery WorkingFolder::Recover(const std::string& destinationFolder) {
  using Kind = HeldFolder::Kind;
  const HeldFolder destination(destinationFolder);
  bool rolledBack = false;
  {
    const HeldFolder work = destination.Sub(kName);
    const Kind journal = work.KindOf(kJournalName);
    const Kind committed = work.KindOf(kCommittedName);
    const Kind earlierKind = work.KindOf(kEarlierFolder);
    // Only this program's own files stand under these names, never both
    // journals at once.
    if ((earlierKind != Kind::None && earlierKind != Kind::Folder) ||
        (committed != Kind::None && committed != Kind::File) || (journal != Kind::None && journal != Kind::File) ||
        (journal != Kind::None && committed != Kind::None)) {
      return Recovery::Untrusted;
    }
    if (journal == Kind::File) {
      std::vector<Step> steps;
      if (!ParseJournal(work.ReadFile(kJournalName), steps)) {
        // Cut short while it was written, before anything moved (the folder
        // of earlier files is made after it); otherwise nothing can tell
        // where the earlier files belong, and all stays as it is.
        if (earlierKind != Kind::None) return Recovery::Untrusted;
      } else {
        if (!NamesAreTheDestinations(steps)) return Recovery::Untrusted;
        std::optional<HeldFolder> earlier;
        if (earlierKind == Kind::Folder) earlier.emplace(work.Sub(kEarlierFolder));
        const Journal moves(destination, work, earlier ? &*earlier : nullptr);
        if (!moves.CleanUpHadBegun(steps)) rolledBack = moves.UndoAll(steps);
      }
      // Every earlier file is back (or the new conversion stands): without
      // its journal the working folder holds only what goes.
      work.Delete(kJournalName);
      work.Sync();
    }
  }
  ClearWorkingFolder(destination);
  return rolledBack ? Recovery::RolledBack : Recovery::Cleared;
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
      ClearWorkingFolder(destination_);
    } catch (const FileError&) {
      // The next run removes it.
    }
    throw;
  }
}

WorkingFolder::~WorkingFolder() {
  if (keep_) return;
  try {
    ClearWorkingFolder(destination_);
  } catch (const FileError&) {
    // The next run removes it; the destination itself is unchanged.
  }
}

std::optional<FileError> WorkingFolder::Commit(const std::function<bool(const std::string&)>& takesNewSpelling) {
  using Kind = HeldFolder::Kind;
  {
    const HeldFolder destination(destination_);
    const HeldFolder work = destination.Sub(kName);
    std::vector<Step> steps;
    std::vector<std::string> targets;
    // The destination's names, read once: a folder of many files is not read
    // again for each of them.
    const FolderSpellings destinationNames(destination_);
    std::vector<std::string> made;
    for (const std::string& name : work.Names()) {
      if (name != kMarkerName && work.KindOf(name) == Kind::File) made.push_back(name);
    }
    for (const std::string& name : made) {
      const std::string from = JoinPath(path_, name);
      const std::string existingName = destinationNames.Resolve(name);
      const std::string existing = JoinPath(destination_, existingName);
      // A copied-in file that no stage changed stays as it is in the
      // destination (a link there stays a link).
      if (Contains(seeded_, name) && FileExists(existing) && ReadFileBytes(existing) == ReadFileBytes(from)) continue;
      Step s{'P', existingName, "", name};
      if (takesNewSpelling(name)) s.target = name;
      const Kind earlier = destination.KindOf(existingName);
      if (earlier != Kind::None && earlier != Kind::Folder) s.earlier = existingName;
      if (destination.KindOf(s.target) == Kind::Folder) {
        throw FileError(destination.PathOf(s.target), SystemReason(EISDIR));
      }
      targets.push_back(s.target);
      steps.push_back(std::move(s));
    }
    // The files the stages deleted or renamed go last.
    for (const std::string& name : seeded_) {
      if (!Contains(made, name) && !Contains(targets, name)) steps.push_back({'R', name, "", ""});
    }

    // The new files and the journal are on the disk before the first file
    // moves, and so is the journal's entry in the working folder.
    work.WriteNewFile(kJournalName, JournalText(steps));
    std::vector<std::string> toSync;
    for (const Step& s : steps) {
      if (s.kind == 'P') toSync.push_back(JoinPath(path_, s.made));
    }
    toSync.push_back(JoinPath(path_, kJournalName));
    SyncFiles(toSync);
    work.CreateFolder(kEarlierFolder);
    work.Sync();

    const HeldFolder earlier = work.Sub(kEarlierFolder);
    const Journal moves(destination, work, &earlier);
    // Puts everything back and removes the journal, then throws the failure;
    // when that fails too the journal stays for the next run.
    auto undoAndThrow = [&](const std::string& failed, const std::string& reason) {
      try {
        moves.UndoAll(steps);
        work.Delete(kJournalName);
        work.Sync();
      } catch (const FileError&) {
        keep_ = true;
        throw NotRestored(failed, reason);
      }
      throw FileError(failed, reason);
    };
    for (size_t i = 0; i <= steps.size(); ++i) {
      try {
        if (i < steps.size()) {
          moves.Do(steps, i);
        } else {
          destination.Sync();
        }
      } catch (const FileError& e) {
        undoAndThrow(i < steps.size() ? destination.PathOf(steps[i].target) : e.path(), e.reason());
      }
    }

    // The commit point: the journal takes its second name, on the disk.
    try {
      work.Move(kJournalName, work, kCommittedName);
      work.Sync();
    } catch (const FileError& e) {
      // Where the journal stands decides whether the commit point was passed.
      bool passed = false;
      try {
        passed = work.KindOf(kJournalName) == Kind::None && work.KindOf(kCommittedName) == Kind::File;
      } catch (const FileError&) {
        keep_ = true;
        throw NotRestored(e.path(), e.reason());
      }
      if (!passed) undoAndThrow(e.path(), e.reason());
    }
  }

  // After the commit point the new conversion stands, whatever happens to
  // the working folder.
  keep_ = true;
  try {
    const HeldFolder destination(destination_);
    {
      const HeldFolder work = destination.Sub(kName);
      work.Delete(kCommittedName);
      work.Sync();
    }
    ClearWorkingFolder(destination);
  } catch (const FileError& e) {
    return e;
  }
  return std::nullopt;
}

}  // namespace k2v
