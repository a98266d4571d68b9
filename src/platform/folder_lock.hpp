#pragma once
// One run at a time in a folder: an exclusive lock on a lock file inside it,
// which the system releases when the holder ends, however it ends.

#include <memory>
#include <string>

namespace k2v {

// The lock file's name in a destination folder. It begins with a dot, as no
// output or copied file does, and is left in place after the run: removing it
// would let two runs lock two different files of the same name, and an empty
// hidden file harms nothing. Its content is never read or written.
inline constexpr const char* kFolderLockName = ".kolbrix2vantor-lock";

// An exclusive lock held until destroyed.
class FolderLock {
 public:
  virtual ~FolderLock() = default;
};

// Takes the lock of folder at once, or returns nullptr when another run (in
// this process or another) holds it. Never waits. Throws FileError when the
// lock file cannot be made or opened (a symbolic link there is not followed).
std::unique_ptr<FolderLock> TryLockFolder(const std::string& folder);

// The system's part of TryLockFolder (folder_lock_posix.cpp,
// folder_lock_win32.cpp): the same for the lock file at path.
std::unique_ptr<FolderLock> TryLockFile(const std::string& path);

}  // namespace k2v
