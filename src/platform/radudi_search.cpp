#include "platform/radudi_search.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "platform/files.hpp"
#include "platform/posix_folder.hpp"
#include "platform/volumes.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// True when the folder at holds a non-empty regular file named like
// fileName: the exact spelling first, else the first spelling in name order
// that matches ignoring case.
bool HoldsNonEmptyFile(int at, const std::string& fileName) {
  struct stat st {};
  if (::fstatat(at, fileName.c_str(), &st, 0) == 0) return S_ISREG(st.st_mode) && st.st_size > 0;
  DirHandle dir = OpenFolderAt(at, ".", false);
  if (!dir) return false;
  std::string best;
  while (dirent* e = ::readdir(dir.get())) {
    PreferSpelling(e->d_name, fileName, best);
  }
  if (best.empty()) return false;
  return ::fstatat(at, best.c_str(), &st, 0) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

// True when the folder name inside at holds the non-empty file.
bool Qualifies(int at, const std::string& name, const std::string& fileName, bool noFollow) {
  DirHandle folder = OpenFolderAt(at, name.c_str(), noFollow);
  return folder && HoldsNonEmptyFile(::dirfd(folder.get()), fileName);
}

// The subfolders of an open folder in name order, without symbolic links.
std::vector<std::string> Subfolders(DIR* dir) {
  std::vector<std::string> names;
  while (dirent* e = ::readdir(dir)) {
    const char* n = e->d_name;
    if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'))) continue;
    unsigned char type = e->d_type;
    if (type == DT_UNKNOWN) {
      struct stat st {};
      if (::fstatat(::dirfd(dir), n, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      if (S_ISDIR(st.st_mode)) type = DT_DIR;
    }
    if (type == DT_DIR) names.emplace_back(n);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

// Deeper than this the walk stops holding every level open and opens
// folders by their full path, to stay far from the open-file limit.
constexpr size_t kMaxOpenLevels = 128;

struct Level {
  DirHandle dir;  // null once closed for depth
  std::string path;
  std::vector<std::string> subfolders;
  size_t next = 0;
};

}  // namespace

std::string FolderPart(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool SearchRadudiTree(const std::string& path, std::vector<std::string>& candidates, const std::string& suffix,
                      const SearchProgress& progress) {
  const std::string parent = FolderPart(path);
  const std::string name = path.substr(parent.size());
  const std::string fileName = suffix.starts_with('/') ? suffix.substr(1) : suffix;
  if (parent.empty() || name.empty()) return true;

  DirHandle start = OpenFolderAt(AT_FDCWD, parent.c_str(), false);
  if (!start) return true;
  struct stat rootStat {};
  if (::fstat(::dirfd(start.get()), &rootStat) != 0) return true;
  const dev_t device = rootStat.st_dev;

  std::vector<Level> levels;
  // Visits one folder: reports it, tests its folders named like name, and
  // keeps its subfolders for the walk.
  auto visit = [&](DirHandle dir, std::string folderPath) -> bool {
    if (progress && !progress(folderPath)) return false;
    Level level;
    level.subfolders = Subfolders(dir.get());
    for (const std::string& sub : level.subfolders) {
      if (SameNameIgnoringCase(sub, name) && Qualifies(::dirfd(dir.get()), sub, fileName, true)) {
        candidates.push_back(Join(folderPath, sub) + "/");
      }
    }
    if (level.subfolders.empty()) return true;
    if (levels.size() < kMaxOpenLevels) level.dir = std::move(dir);
    level.path = std::move(folderPath);
    levels.push_back(std::move(level));
    return true;
  };

  std::string startPath = parent.size() > 1 && parent.ends_with('/') ? parent.substr(0, parent.size() - 1) : parent;
  if (!visit(std::move(start), startPath)) return false;
  while (!levels.empty()) {
    Level& top = levels.back();
    if (top.next == top.subfolders.size()) {
      levels.pop_back();
      continue;
    }
    const std::string& sub = top.subfolders[top.next++];
    std::string childPath = Join(top.path, sub);
    DirHandle child = top.dir ? OpenFolderAt(::dirfd(top.dir.get()), sub.c_str(), true)
                              : OpenFolderAt(AT_FDCWD, childPath.c_str(), true);
    if (!child) continue;  // unreadable, or replaced since it was listed
    struct stat st {};
    if (::fstat(::dirfd(child.get()), &st) != 0 || st.st_dev != device) continue;  // another file system
    if (!visit(std::move(child), std::move(childPath))) return false;
  }
  return true;
}

std::string FindRadudiFolder(const std::string& programFolder, const std::vector<std::string>& volumeRoots,
                             const SearchProgress& progress) {
  const std::string sought = "RADUDI";
  const std::string suffix = "/kishitu.txt";

  // Beside the program: the usual installation, found without any walk. A
  // symbolic link there is taken as the installer made it.
  if (DirHandle base = OpenFolderAt(AT_FDCWD, programFolder.c_str(), false)) {
    std::vector<std::string> names;
    while (dirent* e = ::readdir(base.get())) {
      if (SameNameIgnoringCase(e->d_name, sought)) names.emplace_back(e->d_name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& sub : names) {
      if (Qualifies(::dirfd(base.get()), sub, "kishitu.txt", false)) return Join(programFolder, sub) + "/";
    }
  }

  // The volume that holds the program: the longest root that contains it.
  int own = -1;
  for (size_t i = 0; i < volumeRoots.size(); ++i) {
    const std::string& root = volumeRoots[i];
    if (PathIsWithin(programFolder, root) && (own < 0 || root.size() > volumeRoots[static_cast<size_t>(own)].size())) {
      own = static_cast<int>(i);
    }
  }

  std::vector<std::string> candidates;
  auto walk = [&](const std::string& root) {
    return SearchRadudiTree(Join(root, sought), candidates, suffix, progress);
  };
  if (own >= 0) {
    if (!walk(volumeRoots[static_cast<size_t>(own)])) return {};
    if (!candidates.empty()) return candidates.front();
  }
  for (size_t i = 0; i < volumeRoots.size(); ++i) {
    if (static_cast<int>(i) == own) continue;
    if (!walk(volumeRoots[i])) return {};
    if (!candidates.empty()) return candidates.front();
  }
  return {};
}

bool IsRadudiFolder(const std::string& folder) {
  DirHandle dir = OpenFolderAt(AT_FDCWD, folder.c_str(), false);
  return dir && HoldsNonEmptyFile(::dirfd(dir.get()), "kishitu.txt");
}

std::string ProgramFolder() {
  char buffer[PATH_MAX + 1];
  ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
  if (n <= 0) return {};
  std::string exe(buffer, static_cast<size_t>(n));
  std::string folder = FolderPart(exe);
  if (folder.size() > 1) folder.pop_back();
  return folder;
}

}  // namespace k2v
