#pragma once
// The file operations that differ between Linux (file_system_posix.cpp) and Windows
// (file_system_win32.cpp), behind the portable ones of files.cpp.

#include <cstdio>
#include <string>
#include <system_error>

namespace k2v::files_system {

// The reason of an error code from std::filesystem or the system.
std::string Reason(const std::error_code& ec);

// The spelling on disk of an existing entry's last name (the path itself
// where names are case-sensitive).
std::string SpellingOnDisk(const std::string& path);

// True when both existing paths name one file.
bool SameEntry(const std::string& a, const std::string& b);

// Copies from to to, replacing a file there; the copy is writable.
void CopyFileOver(const std::string& from, const std::string& to, std::error_code& ec);

// Creates the file at path and opens it for writing ("wb"). Null when
// anything stands under the name, a link too (which is not followed); any
// other failure throws FileError naming path.
std::FILE* OpenNewFile(const std::string& path);

}  // namespace k2v::files_system
