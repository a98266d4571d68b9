#include "platform/folder_lock.hpp"

#include <windows.h>

#include "platform/files.hpp"
#include "platform/wide_text.hpp"

namespace k2v {

namespace {

// A handle opened with no sharing: every other open of the file, in this
// process or another, fails until it is closed.
class Win32FolderLock : public FolderLock {
 public:
  explicit Win32FolderLock(HANDLE h) : h_(h) {}
  ~Win32FolderLock() override { CloseHandle(h_); }

 private:
  HANDLE h_;
};

}  // namespace

std::unique_ptr<FolderLock> TryLockFile(const std::string& path) {
  HANDLE h = CreateFileW(SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h != INVALID_HANDLE_VALUE) return std::make_unique<Win32FolderLock>(h);
  const DWORD err = GetLastError();
  if (err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION) return nullptr;
  throw FileError(path, WindowsReason(err));
}

}  // namespace k2v
