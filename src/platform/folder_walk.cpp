#include "platform/folder_walk.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <thread>

#include "platform/files.hpp"
#include "platform/posix_folder.hpp"

namespace k2v {

namespace {

bool IsDotOrDotDot(const char* n) { return n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')); }

}  // namespace

std::vector<std::string> FindFoldersHolding(const std::string& root, const std::string& fileName) {
  std::vector<std::string> found;
  // Folders still to visit, relative to root; one folder is open at a time,
  // so the depth of the tree does not matter.
  std::vector<std::string> pending{""};
  while (!pending.empty()) {
    const std::string relative = std::move(pending.back());
    pending.pop_back();
    const std::string path = relative.empty() ? root : JoinPath(root, relative);
    DirHandle dir = OpenFolderAt(AT_FDCWD, path.c_str(), !relative.empty());
    if (!dir) continue;  // unreadable, or replaced by a link since it was listed
    const int at = ::dirfd(dir.get());
    std::vector<std::string> subfolders;
    std::string spelling;
    bool exact = false;
    while (dirent* e = ::readdir(dir.get())) {
      const char* n = e->d_name;
      if (IsDotOrDotDot(n)) continue;
      if (fileName == n) exact = true;
      PreferSpelling(n, fileName, spelling);
      unsigned char type = e->d_type;
      if (type == DT_UNKNOWN) {
        struct stat st {};
        if (::fstatat(at, n, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) type = DT_DIR;
      }
      // A hidden folder (a trash can, a tool's own folder) holds no boring to convert.
      if (type == DT_DIR && n[0] != '.') subfolders.emplace_back(n);
    }
    if (exact) spelling = fileName;
    // The file itself may be a link, as the conversion opens it.
    struct stat st {};
    if (!spelling.empty() && ::fstatat(at, spelling.c_str(), &st, 0) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
      found.push_back(relative);
    }
    std::sort(subfolders.begin(), subfolders.end(), std::greater<>());
    for (const std::string& sub : subfolders) pending.push_back(relative.empty() ? sub : relative + "/" + sub);
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::string ResolvedPath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(path, ec);
  if (ec) p = path;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(p, ec);
  if (ec) resolved = p;
  std::string text = resolved.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

unsigned ProcessorCount() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (::sched_getaffinity(0, sizeof set, &set) == 0) {
    int n = CPU_COUNT(&set);
    if (n > 0) return static_cast<unsigned>(n);
  }
  return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace k2v
