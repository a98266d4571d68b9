#pragma once
// The search for Vantor's pattern-data folder RADUDI, recognised by a
// non-empty kishitu.txt in it: beside the program first, then through every
// folder of the program's volume, then of every other volume. Paths use the
// system's separator ("/" on Linux, "\" on Windows).

#include <functional>
#include <string>
#include <vector>

namespace k2v {

// Called once for every folder the walk visits, with its path; returning
// false cancels the search.
using SearchProgress = std::function<bool(const std::string& folder)>;

// The path up to and including its last "/" (on Windows its last "\", "/"
// or ":"); empty when it has none.
std::string FolderPart(const std::string& path);

// Walks the file system below FolderPart(path) and collects, in walk order,
// every folder named like the last name of path (ignoring case) that holds a
// non-empty file named like suffix ("/kishitu.txt", ignoring case); each is
// appended to candidates with a final "/". Parents come before children and
// siblings in name order. The walk stays on the file system it starts on,
// never follows symbolic links (on Windows enters no reparse point) and
// skips folders it may not read. Returns
// false when progress cancelled it.
bool SearchRadudiTree(const std::string& path, std::vector<std::string>& candidates, const std::string& suffix,
                      const SearchProgress& progress = {});

// The RADUDI folder with a final "/", or the empty string when there is none
// or the search was cancelled. programFolder is the folder of the program
// file; volumeRoots the drives, the root first. The volume that holds the
// program is walked first and only once.
std::string FindRadudiFolder(const std::string& programFolder, const std::vector<std::string>& volumeRoots,
                             const SearchProgress& progress = {});

// True when folder is a RADUDI folder as the search recognises one: it
// holds a non-empty kishitu.txt (any letter case). Its own name may be any.
bool IsRadudiFolder(const std::string& folder);

// The folder of the running program file, without a final "/".
std::string ProgramFolder();

}  // namespace k2v
