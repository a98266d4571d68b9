#pragma once
// Folders opened by descriptor on Linux, for the walks that must not follow
// a symbolic link (the RADUDI search, the batch's export folders).

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <memory>

namespace k2v {

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// Opens the folder name inside the folder at (AT_FDCWD: a path), without
// following a symbolic link in its last name when noFollow is set; null when
// it cannot be opened.
inline DirHandle OpenFolderAt(int at, const char* name, bool noFollow) {
  int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (noFollow ? O_NOFOLLOW : 0);
  int fd = ::openat(at, name, flags);
  if (fd < 0) return nullptr;
  DIR* d = ::fdopendir(fd);
  if (!d) {
    ::close(fd);
    return nullptr;
  }
  return DirHandle(d);
}

}  // namespace k2v
