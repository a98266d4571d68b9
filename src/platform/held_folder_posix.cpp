// The held folder on Linux: a descriptor of the folder, and every name reached
// relative to it with calls that do not follow a link at the name.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/files.hpp"
#include "platform/held_folder.hpp"

namespace k2v {

struct HeldFolder::System {
  int fd = -1;
  ~System() {
    if (fd >= 0) ::close(fd);
  }
};

namespace {

[[noreturn]] void Throw(const std::string& path, int err) { throw FileError(path, SystemReason(err)); }

}  // namespace

HeldFolder::HeldFolder(const std::string& path) : path_(WithoutFinalSeparator(path)) {
  const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) Throw(path_, errno);
  system_ = std::make_unique<System>();
  system_->fd = fd;
}

HeldFolder::HeldFolder(std::string path, std::unique_ptr<System> system)
    : path_(std::move(path)), system_(std::move(system)) {}

HeldFolder::~HeldFolder() = default;
HeldFolder::HeldFolder(HeldFolder&&) noexcept = default;
HeldFolder& HeldFolder::operator=(HeldFolder&&) noexcept = default;

HeldFolder HeldFolder::Sub(const std::string& name) const {
  const std::string path = PathOf(name);
  if (!IsPlainName(name)) Throw(path, EINVAL);
  // O_NOFOLLOW: a link at name fails with ELOOP instead of being entered.
  const int fd = ::openat(system_->fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) Throw(path, errno);
  auto system = std::make_unique<System>();
  system->fd = fd;
  return HeldFolder(path, std::move(system));
}

HeldFolder::Kind HeldFolder::KindOf(const std::string& name) const {
  if (!IsPlainName(name)) Throw(PathOf(name), EINVAL);
  struct stat st {};
  if (::fstatat(system_->fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return Kind::None;
    Throw(PathOf(name), errno);
  }
  if (S_ISREG(st.st_mode)) return Kind::File;
  if (S_ISDIR(st.st_mode)) return Kind::Folder;
  if (S_ISLNK(st.st_mode)) return Kind::Link;
  return Kind::Other;
}

std::vector<std::string> HeldFolder::Names() const {
  CheckFault(FileOperation::List, path_);
  // A listing of its own: the held descriptor keeps its place for the calls.
  const int fd = ::openat(system_->fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) Throw(path_, errno);
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    const int err = errno;
    ::close(fd);
    Throw(path_, err);
  }
  std::vector<std::string> names;
  for (;;) {
    errno = 0;
    const dirent* e = ::readdir(dir);
    if (!e) break;
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  const int err = errno;
  ::closedir(dir);
  if (err != 0) Throw(path_, err);
  std::sort(names.begin(), names.end());
  return names;
}

std::string HeldFolder::ReadFile(const std::string& name) const {
  const std::string path = PathOf(name);
  if (!IsPlainName(name)) Throw(path, EINVAL);
  // O_NONBLOCK: a pipe put under the name does not stop the run.
  const int fd = ::openat(system_->fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) Throw(path, errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = errno ? errno : EINVAL;
    ::close(fd);
    Throw(path, S_ISDIR(st.st_mode) ? EISDIR : err);
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      Throw(path, err);
    }
    bytes.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return bytes;
}

void HeldFolder::WriteNewFile(const std::string& name, const std::string& bytes) const {
  const std::string path = PathOf(name);
  if (!IsPlainName(name)) Throw(path, EINVAL);
  CheckFault(FileOperation::Create, path);
  const int fd = ::openat(system_->fd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) Throw(path, errno);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      const int err = put < 0 ? errno : EIO;
      ::close(fd);
      Throw(path, err);
    }
    done += static_cast<size_t>(put);
  }
  if (::close(fd) != 0) Throw(path, errno);
}

void HeldFolder::Move(const std::string& name, const HeldFolder& to, const std::string& toName) const {
  const std::string target = to.PathOf(toName);
  if (!IsPlainName(name) || !IsPlainName(toName)) Throw(target, EINVAL);
  CheckFault(FileOperation::Rename, target);
  if (::renameat(system_->fd, name.c_str(), to.system_->fd, toName.c_str()) != 0) Throw(target, errno);
}

void HeldFolder::Delete(const std::string& name) const {
  const std::string path = PathOf(name);
  if (!IsPlainName(name)) Throw(path, EINVAL);
  CheckFault(FileOperation::Delete, path);
  if (::unlinkat(system_->fd, name.c_str(), 0) != 0 && errno != ENOENT) Throw(path, errno);
}

void HeldFolder::CreateFolder(const std::string& name) const {
  const std::string path = PathOf(name);
  if (!IsPlainName(name)) Throw(path, EINVAL);
  CheckFault(FileOperation::CreateFolder, path);
  if (::mkdirat(system_->fd, name.c_str(), 0777) != 0) Throw(path, errno);
}

void HeldFolder::RemoveEmptyFolder(const std::string& name) const {
  const std::string path = PathOf(name);
  CheckFault(FileOperation::Delete, path);
  if (::unlinkat(system_->fd, name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT) Throw(path, errno);
}

void HeldFolder::Sync() const {
  CheckFault(FileOperation::Sync, path_);
  // A file system that cannot flush a folder's entries is no failure.
  if (::fsync(system_->fd) != 0 && errno != EINVAL && errno != EROFS) Throw(path_, errno);
}

}  // namespace k2v
