#include "run/working_folder.hpp"

#include <algorithm>
#include <cerrno>

#include "platform/files.hpp"

namespace k2v {

namespace {

// The last name of a path.
std::string NameOf(const std::string& path) {
  const size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

WorkingFolder::WorkingFolder(std::string destinationFolder, const std::vector<std::string>& seedNames)
    : destination_(std::move(destinationFolder)) {
  const std::string folder = destination_ + kName;
  path_ = JoinPath(folder, "");
  RemoveTree(folder);
  CreateFolder(folder);
  try {
    for (const std::string& name : seedNames) {
      const std::string real = ResolveCase(destination_ + name);
      if (!FileExists(real)) continue;
      const std::string spelling = NameOf(real);
      CopyFileReplacing(real, path_ + spelling);
      seeded_.push_back(spelling);
    }
  } catch (...) {
    try {
      RemoveTree(folder);
    } catch (const FileError&) {
      // The next run removes it.
    }
    throw;
  }
}

WorkingFolder::~WorkingFolder() {
  if (done_) return;
  try {
    RemoveTree(destination_ + kName);
  } catch (const FileError&) {
    // The next run removes it; the destination itself is unchanged.
  }
}

void WorkingFolder::Commit(const std::function<bool(const std::string&)>& takesNewSpelling) {
  struct Placement {
    std::string from;
    std::string to;
    std::string earlierSpelling;  // a differently spelt file that goes after
  };
  std::vector<Placement> placements;
  const std::vector<std::string> made = ListFolderFiles(path_);
  for (const std::string& name : made) {
    const std::string from = path_ + name;
    const std::string existing = ResolveCase(destination_ + name);
    // A copied-in file that no stage changed stays as it is in the
    // destination (a link there stays a link).
    if (Contains(seeded_, name) && FileExists(existing) && ReadFileBytes(existing) == ReadFileBytes(from)) continue;
    Placement p{from, existing, ""};
    if (takesNewSpelling(name) && existing != destination_ + name) {
      p.to = destination_ + name;
      if (FileExists(existing) || IsLinkEntry(existing)) p.earlierSpelling = existing;
    }
    if (IsFolderEntry(p.to)) throw FileError(p.to, SystemReason(EISDIR));
    placements.push_back(std::move(p));
  }

  for (const Placement& p : placements) SyncFile(p.from);
  std::vector<std::string> placed;
  for (const Placement& p : placements) {
    PlaceFile(p.from, p.to);
    placed.push_back(NameOf(p.to));
    // (On Windows the earlier spelling names the placed file itself.)
    if (!p.earlierSpelling.empty() && !SameNameOnDisk(p.earlierSpelling, p.to)) DeleteFileIfExists(p.earlierSpelling);
  }
  // The files the stages deleted or renamed go last, so that a run killed
  // before this point has lost nothing.
  for (const std::string& name : seeded_) {
    if (!Contains(made, name) && !Contains(placed, name)) DeleteFileIfExists(destination_ + name);
  }
  SyncFolder(destination_);
  RemoveTree(destination_ + kName);
  done_ = true;
}

}  // namespace k2v
