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

// The system's part of ListSubfolders (subfolders_posix.cpp,
// subfolders_win32.cpp): the entries of folder with what the list asks of
// them, none when it cannot be read ...
struct ListedEntry {
  std::string name;
  bool folder;  // a folder, or a link to one
  bool hidden;
};
std::vector<ListedEntry> ReadListedEntries(const std::string& folder);
// ... and their order: by name ignoring letter case.
bool NameBeforeIgnoringCase(const std::string& a, const std::string& b);

}  // namespace k2v
