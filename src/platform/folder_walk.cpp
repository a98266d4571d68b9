#include "platform/folder_walk.hpp"

// The walks' rules, the same on every system; the system calls that open and
// read a folder are in folder_walk_posix.cpp and folder_walk_win32.cpp.

#include <algorithm>
#include <filesystem>

#include "platform/files.hpp"
#include "platform/open_folder.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// The name of fileName among the entries: the exact spelling first, else the
// first in name order that matches ignoring case; empty when there is none.
std::string SpellingAmong(const std::vector<FolderEntry>& entries, const std::string& fileName) {
  std::string spelling;
  for (const FolderEntry& e : entries) {
    if (e.name == fileName) return fileName;
    PreferSpelling(e.name, fileName, spelling);
  }
  return spelling;
}

bool HoldsNonEmptyFile(const OpenFolder& folder, const std::string& fileName) {
  if (!folder.IsOpen()) return false;
  const std::string spelling = SpellingAmong(folder.Entries(), fileName);
  return !spelling.empty() && folder.FileSize(spelling) > 0;
}

// The subfolders of a folder in name order, without links to folders.
std::vector<std::string> Subfolders(const std::vector<FolderEntry>& entries) {
  std::vector<std::string> names;
  for (const FolderEntry& e : entries) {
    if (e.folder) names.push_back(e.name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Deeper than this the search stops holding every level open and opens
// folders by their full path, to stay far from the open-file limit.
constexpr size_t kMaxOpenLevels = 128;

}  // namespace

std::vector<std::string> FindFoldersHolding(const std::string& root, const std::string& fileName) {
  std::vector<std::string> found;
  // Folders still to visit, relative to root; one folder is open at a time,
  // so the depth of the tree does not matter.
  std::vector<std::string> pending{""};
  while (!pending.empty()) {
    const std::string relative = std::move(pending.back());
    pending.pop_back();
    const OpenFolder folder(relative.empty() ? root : JoinPath(root, relative), !relative.empty());
    // A folder that may not be read, or was replaced by a link since it was
    // listed, is passed over; a failing disk is no such folder.
    if (!folder.Failure().empty()) throw FileError(folder.Path(), folder.Failure());
    if (!folder.IsOpen()) continue;
    const std::vector<FolderEntry> entries = folder.Entries();
    std::vector<std::string> subfolders;
    for (const FolderEntry& e : entries) {
      // A hidden folder (a trash can, a tool's own folder) holds no boring to convert.
      if (e.folder && e.name[0] != '.') subfolders.push_back(e.name);
    }
    // The file itself may be a link, as the conversion opens it.
    const std::string spelling = SpellingAmong(entries, fileName);
    if (!spelling.empty() && folder.FileSize(spelling) > 0) found.push_back(relative);
    if (!folder.Failure().empty()) throw FileError(folder.Path(), folder.Failure());
    std::sort(subfolders.begin(), subfolders.end(), std::greater<>());
    for (const std::string& sub : subfolders) pending.push_back(relative.empty() ? sub : relative + "/" + sub);
  }
  std::sort(found.begin(), found.end());
  return found;
}

bool SearchFolderTree(const std::string& path, std::vector<std::string>& found, const std::string& fileName,
                      const SearchProgress& progress) {
  const std::string parent = FolderPart(path);
  const std::string name = path.substr(parent.size());
  if (parent.empty() || name.empty()) return true;
  OpenFolder start(WithoutFinalSeparator(parent), false);
  if (!start.IsOpen()) return true;

  struct Level {
    OpenFolder folder;  // released once deeper than kMaxOpenLevels
    std::vector<std::string> subfolders;
    size_t next = 0;
  };
  std::vector<Level> levels;
  // Visits one folder: reports it, tests its folders named like name, and
  // keeps its subfolders for the walk.
  auto visit = [&](OpenFolder folder) -> bool {
    if (progress && !progress(folder.Path())) return false;
    std::vector<std::string> subfolders = Subfolders(folder.Entries());
    for (const std::string& sub : subfolders) {
      if (SameNameIgnoringCase(sub, name) && HoldsNonEmptyFile(OpenFolder(folder, sub), fileName)) {
        found.push_back(JoinPath(JoinPath(folder.Path(), sub), ""));
      }
    }
    if (subfolders.empty()) return true;
    if (levels.size() >= kMaxOpenLevels) folder.Release();
    levels.push_back(Level{std::move(folder), std::move(subfolders)});
    return true;
  };

  if (!visit(std::move(start))) return false;
  while (!levels.empty()) {
    Level& top = levels.back();
    if (top.next == top.subfolders.size()) {
      levels.pop_back();
      continue;
    }
    const std::string& sub = top.subfolders[top.next++];
    OpenFolder child = top.folder.IsOpen() ? OpenFolder(top.folder, sub)
                                           : OpenFolder(JoinPath(top.folder.Path(), sub), true);
    if (!child.IsOpen()) continue;  // unreadable, or replaced since it was listed
    // The first level is the start's, and it is left last.
    if (!child.OnSameVolume(levels.front().folder)) continue;
    if (!visit(std::move(child))) return false;
  }
  return true;
}

bool FolderHoldsNonEmptyFile(const std::string& folder, const std::string& fileName) {
  return HoldsNonEmptyFile(OpenFolder(folder, false), fileName);
}

std::string ResolvedPath(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path p = fs::absolute(NativePath(path), ec);
  if (ec) p = NativePath(path);
  fs::path resolved = fs::weakly_canonical(p, ec);
  if (ec) resolved = p;
  return WithoutFinalSeparator(PathText(resolved.lexically_normal()));
}

}  // namespace k2v
