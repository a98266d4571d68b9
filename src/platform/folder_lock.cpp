#include "platform/folder_lock.hpp"

#include "platform/files.hpp"

namespace k2v {

std::unique_ptr<FolderLock> TryLockFolder(const std::string& folder) {
  return TryLockFile(JoinPath(folder, kFolderLockName));
}

}  // namespace k2v
