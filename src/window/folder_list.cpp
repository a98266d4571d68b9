#include "window/folder_list.hpp"

#include <filesystem>
#include <system_error>

#include "platform/files.hpp"
#include "platform/subfolders.hpp"

namespace k2v {

namespace fs = std::filesystem;

std::string NormalFolderPath(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  fs::path p = fs::absolute(NativePath(path), ec);
  if (ec) p = NativePath(path);
  p = p.lexically_normal();
  if (!p.has_filename() && p != p.root_path()) p = p.parent_path();
  return PathText(p);
}

bool FolderList::Open(const std::string& path) {
  if (path.empty()) return false;
  const std::string normal = NormalFolderPath(path);
  if (!FolderCanBeOpened(normal)) return false;
  path_ = normal;
  rows_.clear();
  const std::string parent = Parent();
  if (!parent.empty()) rows_.push_back(FolderRow{"..", parent, true});
  for (const std::string& name : ListSubfolders(path_)) rows_.push_back(FolderRow{name, JoinPath(path_, name), false});
  return true;
}

std::string FolderList::Parent() const {
  const fs::path p = NativePath(path_);
  if (path_.empty() || p == p.root_path()) return {};
  return PathText(p.parent_path());
}

}  // namespace k2v
