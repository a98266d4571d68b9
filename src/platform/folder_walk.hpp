#pragma once
// The walks through folder trees (a site's export folders, the folders a
// program looks for on a volume) and the system queries a batch of
// conversions needs.

#include <functional>
#include <string>
#include <vector>

namespace k2v {

// The folders at and below root that hold a non-empty regular file named
// like fileName (the exact spelling first, else the first spelling in name
// order that matches ignoring case), as paths relative to root with "/"
// between names; root itself is the empty text. Sorted by name. The walk
// never follows a symbolic link to a folder (root itself may be one) and
// skips folders it may not read and folders whose names begin with ".". A
// folder that cannot be read for another reason (a failing disk) throws
// FileError naming it: the borings in it would be missing unseen.
std::vector<std::string> FindFoldersHolding(const std::string& root, const std::string& fileName);

// Called once for every folder a search visits, with its path; returning
// false cancels the search.
using SearchProgress = std::function<bool(const std::string& folder)>;

// Walks the file system below FolderPart(path) and collects, in walk order,
// every folder named like the last name of path (ignoring case) that holds a
// non-empty file named like fileName (as FolderHoldsNonEmptyFile); each is
// appended to found with a final separator. Parents come before children
// and siblings in name order. The walk stays on the file system it starts
// on, never follows symbolic links (on Windows enters no reparse point) and
// skips every folder it cannot read, whatever the reason: a search over whole
// volumes goes on past a system folder it may not read or a failing one.
// Returns false when progress cancelled it.
bool SearchFolderTree(const std::string& path, std::vector<std::string>& found, const std::string& fileName,
                      const SearchProgress& progress = {});

// True when folder holds a non-empty regular file named like fileName: the
// exact spelling first, else the first spelling in name order that matches
// ignoring case.
bool FolderHoldsNonEmptyFile(const std::string& folder, const std::string& fileName);

// The path made absolute with every symbolic link resolved as far as the
// path exists, lexically normal, without a final separator (except a root).
std::string ResolvedPath(const std::string& path);

// The number of processors this process may run on; at least 1.
unsigned ProcessorCount();

}  // namespace k2v
