#pragma once
// The file operations that differ between Linux (file_system_posix.cpp) and Windows
// (file_system_win32.cpp), behind the portable ones of files.cpp. Every path
// goes to the system in the system's own form: on Windows through
// SystemPath (wide_text.hpp), which lifts the old limit of 260 characters.

#include <cstdint>
#include <cstdio>
#include <functional>
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

// What stands under a name.
enum class EntryType { None, File, Folder, Other };
// The entry itself (a link is Other, on Windows any reparse point), or with
// followLink what a link leads to. None when nothing stands there or it
// cannot be looked at; ec then tells why.
EntryType TypeOf(const std::string& path, bool followLink, std::error_code& ec);
// The size of the regular file at path (a link followed); false when there
// is none or it cannot be looked at, ec telling why.
bool SizeOf(const std::string& path, std::uint64_t& size, std::error_code& ec);
// Calls each with every name in folder ("." and ".." left out) and its
// entry's type, a link not followed. An error when the folder cannot be
// read, when the listing starts or on its way.
std::error_code ListFolder(const std::string& folder,
                           const std::function<void(const std::string& name, EntryType type)>& each);
// Removes a file, a link (not what it leads to) or an empty folder.
std::error_code RemoveEntry(const std::string& path);
// Gives the entry from the name to, replacing a file there.
std::error_code MoveEntry(const std::string& from, const std::string& to);
// Creates one folder; a folder already there is no error.
std::error_code MakeFolder(const std::string& path);

}  // namespace k2v::files_system
