#pragma once
// The walk that finds the export folders of a site, and the system queries a
// batch of conversions needs.

#include <string>
#include <vector>

namespace k2v {

// The folders at and below root that hold a non-empty regular file named
// like fileName (the exact spelling first, else the first spelling in name
// order that matches ignoring case), as paths relative to root with "/"
// between names; root itself is the empty text. Sorted by name. The walk
// never follows a symbolic link to a folder (root itself may be one) and
// skips folders it may not read and folders whose names begin with ".".
std::vector<std::string> FindFoldersHolding(const std::string& root, const std::string& fileName);

// The path made absolute with every symbolic link resolved as far as the
// path exists, lexically normal, without a final "/" (except the root).
std::string ResolvedPath(const std::string& path);

// The number of processors this process may run on; at least 1.
unsigned ProcessorCount();

}  // namespace k2v
