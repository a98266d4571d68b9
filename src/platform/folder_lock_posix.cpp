#include "platform/folder_lock.hpp"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/files.hpp"

namespace k2v {

namespace {

// flock belongs to the open file, not to the process: two opens in one
// process (two borings of a batch) exclude each other too.
class PosixFolderLock : public FolderLock {
 public:
  explicit PosixFolderLock(int fd) : fd_(fd) {}
  ~PosixFolderLock() override { ::close(fd_); }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<FolderLock> TryLockFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  if (fd < 0) throw FileError(path, SystemReason(errno));
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return std::make_unique<PosixFolderLock>(fd);
  const int err = errno;
  ::close(fd);
  if (err == EWOULDBLOCK) return nullptr;
  throw FileError(path, SystemReason(err));
}

}  // namespace k2v
