#pragma once
// What a folder list (Dir1, Dir2) shows: one folder in its place in the tree,
// below the folders that hold it and above its subfolders.

#include <string>
#include <vector>

#include "window/form1_view.hpp"

namespace k2v {

class FolderList {
 public:
  // Opens the folder (made absolute and lexically normal, without a final
  // separator except at a root); false, and nothing changes, when it is not a
  // folder that can be opened.
  bool Open(const std::string& path);

  // The folder shown; empty before the first Open.
  const std::string& Path() const { return path_; }
  const std::vector<FolderRow>& Rows() const { return rows_; }
  // The row of the folder shown.
  int CurrentRow() const { return currentRow_; }
  // The folder above the one shown; empty at a root.
  std::string Parent() const;

 private:
  std::string path_;
  std::vector<FolderRow> rows_;
  int currentRow_ = -1;
};

// The form a folder list gives a path: absolute, lexically normal, without a
// final separator except at a root.
std::string NormalFolderPath(const std::string& path);

}  // namespace k2v
