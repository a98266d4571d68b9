// The system calls of the walks on Linux: folders opened by descriptor, so
// that a walk that must not follow a symbolic link reaches every name
// relative to the folder it listed.

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "platform/files.hpp"
#include "platform/folder_walk.hpp"
#include "platform/open_folder.hpp"

namespace k2v {

struct OpenFolder::System {
  DIR* dir = nullptr;  // null once released
  dev_t device = 0;
  ~System() { Close(); }
  void Close() {
    if (dir) ::closedir(dir);
    dir = nullptr;
  }
};

namespace {

// A failure a walk passes over: the folder is gone, is no folder (a link put
// in its place), or may not be read.
bool PassedOver(int err) { return err == ENOENT || err == ENOTDIR || err == ELOOP || err == EACCES || err == EPERM; }

void NoteFailure(std::string& failure, int err) {
  if (!PassedOver(err) && failure.empty()) failure = SystemReason(err);
}

// Opens the folder name inside the folder at (AT_FDCWD: a path), without
// following a symbolic link in its last name when noFollow is set; notes in
// failure why it could not.
std::unique_ptr<OpenFolder::System> OpenAt(int at, const char* name, bool noFollow, std::string& failure) {
  const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (noFollow ? O_NOFOLLOW : 0);
  const int fd = ::openat(at, name, flags);
  if (fd < 0) {
    NoteFailure(failure, errno);
    return nullptr;
  }
  struct stat st {};
  DIR* dir = ::fstat(fd, &st) == 0 ? ::fdopendir(fd) : nullptr;
  if (!dir) {
    NoteFailure(failure, errno);
    ::close(fd);
    return nullptr;
  }
  auto system = std::make_unique<OpenFolder::System>();
  system->dir = dir;
  system->device = st.st_dev;
  return system;
}

bool IsDotOrDotDot(const char* n) { return n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')); }

}  // namespace

OpenFolder::OpenFolder(const std::string& path, bool noFollow)
    : path_(path), system_(OpenAt(AT_FDCWD, path.c_str(), noFollow, failure_)) {}

OpenFolder::OpenFolder(const OpenFolder& parent, const std::string& name)
    : path_(JoinPath(parent.path_, name)),
      system_(parent.IsOpen() ? OpenAt(::dirfd(parent.system_->dir), name.c_str(), true, failure_) : nullptr) {}

OpenFolder::~OpenFolder() = default;
OpenFolder::OpenFolder(OpenFolder&&) noexcept = default;
OpenFolder& OpenFolder::operator=(OpenFolder&&) noexcept = default;

bool OpenFolder::IsOpen() const { return system_ && system_->dir; }

std::vector<FolderEntry> OpenFolder::Entries() const {
  std::vector<FolderEntry> entries;
  if (!IsOpen()) return entries;
  DIR* dir = system_->dir;
  ::rewinddir(dir);
  for (;;) {
    errno = 0;
    const dirent* e = ::readdir(dir);
    if (!e) {
      if (errno != 0) NoteFailure(failure_, errno);
      break;
    }
    const char* n = e->d_name;
    if (IsDotOrDotDot(n)) continue;
    unsigned char type = e->d_type;
    if (type == DT_UNKNOWN) {
      struct stat st {};
      if (::fstatat(::dirfd(dir), n, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) type = DT_DIR;
    }
    entries.push_back(FolderEntry{n, type == DT_DIR});
  }
  return entries;
}

std::int64_t OpenFolder::FileSize(const std::string& name) const {
  struct stat st {};
  if (!IsOpen()) return -1;
  if (::fstatat(::dirfd(system_->dir), name.c_str(), &st, 0) != 0) {
    NoteFailure(failure_, errno);
    return -1;
  }
  return S_ISREG(st.st_mode) ? static_cast<std::int64_t>(st.st_size) : -1;
}

bool OpenFolder::OnSameVolume(const OpenFolder& other) const {
  return system_ && other.system_ && system_->device == other.system_->device;
}

void OpenFolder::Release() {
  if (system_) system_->Close();
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
