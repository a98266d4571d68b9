#include "window/folder_list.hpp"

#include <filesystem>
#include <system_error>

#include "platform/files.hpp"
#include "platform/subfolders.hpp"

namespace k2v {

namespace fs = std::filesystem;

namespace {

// The folder above path; empty at a root.
std::string ParentFolder(const std::string& path) {
  const fs::path p = NativePath(path);
  if (path.empty() || p == p.root_path() || !p.has_parent_path()) return {};
  return PathText(p.parent_path());
}

}  // namespace

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
  // The folder and those that hold it, up to the root.
  std::vector<std::string> chain{path_};
  for (std::string up = ParentFolder(path_); !up.empty(); up = ParentFolder(up)) chain.push_back(up);
  rows_.clear();
  int depth = 0;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it, ++depth) {
    const std::string name = PathText(NativePath(*it).filename());
    rows_.push_back(FolderRow{depth == 0 || name.empty() ? *it : name, *it, depth, false});
  }
  currentRow_ = static_cast<int>(rows_.size()) - 1;
  rows_.back().current = true;
  for (const std::string& name : ListSubfolders(path_)) {
    rows_.push_back(FolderRow{name, JoinPath(path_, name), depth, false});
  }
  return true;
}

std::string FolderList::Parent() const { return ParentFolder(path_); }

}  // namespace k2v
