#pragma once
// What a folder list shows of a folder: whether it can be opened, and the
// names of its subfolders.

#include <string>
#include <vector>

namespace k2v {

// True when path is a folder whose entries can be listed and entered.
bool FolderCanBeOpened(const std::string& path);

// The names of the folders directly in folder (links to folders included),
// hidden ones left out (on Linux names that begin with ".", on Windows those
// with the hidden attribute), sorted by name ignoring letter case.
std::vector<std::string> ListSubfolders(const std::string& folder);

}  // namespace k2v
