#pragma once
// File-system operations of the converter. File names are matched without
// regard to case: opening a name finds an existing file whose name equals it
// ignoring case, writing a name replaces such a file under its existing
// spelling. Paths are UTF-8 texts.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace k2v {

// A file operation that failed, with the path and the system's reason.
class FileError : public std::runtime_error {
 public:
  FileError(std::string path, std::string reason);
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

// The system's reason for the error number, in the user's language where the
// system has one (and its messages are UTF-8), else in English.
std::string SystemReason(int err);

// The file-system path of a path text and back: on Windows names are UTF-16,
// and std::filesystem reads a narrow text in the ANSI code page, not UTF-8.
std::filesystem::path NativePath(const std::string& path);
std::string PathText(const std::filesystem::path& path);
// std::fopen with the name taken as UTF-8.
std::FILE* OpenFile(const std::string& path, const char* mode);

// A test seam: every file operation that changes something, and every
// listing of a folder that a run reads (List, with the folder's path), asks
// the hook first; a hook that returns an error number makes the operation
// fail with it, as the system would. No hook is set outside the tests.
enum class FileOperation { Create, Write, Copy, Rename, Delete, CreateFolder, Sync, List };
using FaultHook = std::function<int(FileOperation operation, const std::string& path)>;
void SetFaultHook(FaultHook hook);
// Throws FileError when the hook fails this operation on path.
void CheckFault(FileOperation operation, const std::string& path);

// The path of an existing entry whose last name equals that of path ignoring
// case (the exact name first); the path itself when there is none. Throws
// FileError when the folder cannot be read.
std::string ResolveCase(const std::string& path);

// The path of name in folder: a separator goes between them unless folder
// already ends in one ("/"; on Windows "\\", "/" ending one too). An empty
// name gives the folder with a final separator.
std::string JoinPath(const std::string& folder, const std::string& name);
// The path up to and including its last separator (on Windows its last "\\",
// "/" or ":"); empty when it has none.
std::string FolderPart(const std::string& path);
// The path without its final separators, a root ("/", on Windows "C:\\")
// kept whole.
std::string WithoutFinalSeparator(std::string path);

// The rule for a name matched without regard to case, once the exact
// spelling was not found: of the folder's names offered one by one, the first
// in name order that equals wanted ignoring ASCII case is kept in best.
void PreferSpelling(const std::string& candidate, const std::string& wanted, std::string& best);

// The calls that list a folder or look at a file (ResolveCase, FileExists,
// FileSize, the List... calls, FolderSpellings) take a missing folder or file
// for one with no names, size 0; any other failure (a folder that may not be
// read, a failing disk) throws FileError with the path and the system's
// reason. The folder lists of the window (ListSubfolders) and the searches
// of folder_walk.hpp pass over what they cannot read, as they document.

// True when a regular file exists under this name (ignoring case).
bool FileExists(const std::string& path);
// Size in bytes; 0 when the file is missing (or is no regular file). Greater
// than 0 exactly when the file exists and is not empty. Throws FileError when
// the file or its folder cannot be looked at.
std::int64_t FileSize(const std::string& path);
// The whole content of the file; throws FileError.
std::string ReadFileBytes(const std::string& path);
// Creates or replaces the file with the bytes; throws FileError.
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Creates or replaces the file at the exact path in one step: the bytes go
// to a new hidden file beside it, flushed to the disk, which then takes the
// name. A link at path is replaced, not followed; a failure leaves the
// earlier file as it was. Throws FileError.
void WriteFileInOneStep(const std::string& path, const std::string& bytes);
// Copies from to to, replacing a file of that name; throws FileError.
void CopyFileReplacing(const std::string& from, const std::string& to);
// The same for a caller that knows the destination's names: target is the
// path that ResolveCase(to) gives.
void CopyFileReplacing(const std::string& from, const std::string& to, const std::string& target);
// Gives the file from the name to (the new spelling), replacing a file of that
// name; throws FileError.
void RenameReplacing(const std::string& from, const std::string& to);
// Deletes the file when it exists; throws FileError when it cannot.
void DeleteFileIfExists(const std::string& path);

// Flushes the file's data to the disk; throws FileError.
void SyncFile(const std::string& path);
// Flushes the data of every file to the disk, each as SyncFile does; on
// Linux with one flush of their file system, which costs one disk flush
// however many files there are. Throws FileError naming the first file.
void SyncFiles(const std::vector<std::string>& paths);
// Gives the file from the exact name to, in one step: to is the earlier file
// or the new one, never neither. A file or a symbolic link at to is replaced
// (the link's target is not touched). Throws FileError naming to.
void PlaceFile(const std::string& from, const std::string& to);
// Throws FileError, with the system's reason, when the folder's names
// cannot be read.
void CheckFolderCanBeRead(const std::string& folder);
// Names of every entry directly in folder (files, folders, links), sorted.
std::vector<std::string> ListFolderEntries(const std::string& folder);
// True when anything stands under the exact name path (a link is not followed).
bool EntryExists(const std::string& path);

// Throws FileError naming path, with the system's reason, when the system
// would refuse path, or path followed by room more characters (what the
// caller will add below it), for its length or for the length of a name in
// it: on Linux 4,095 bytes in all and 255 a name, on Windows about 32,000
// characters in all and 255 a name. Nothing is looked at on the disk.
void CheckPathLength(const std::string& path, std::size_t room);

// True when a folder exists at the path (exact spelling).
bool FolderExists(const std::string& path);
// Creates one folder; throws FileError.
void CreateFolder(const std::string& path);
// True when both paths name the same existing folder.
bool SameFolder(const std::string& a, const std::string& b);

// Names of the files of folder matching the wild-card pattern ("?" one
// character, "*" any run), ignoring case; folders and hidden files are left
// out. Sorted by name.
std::vector<std::string> ListMatchingFiles(const std::string& folder, const std::string& pattern);
// True when name matches the wild-card pattern, ignoring case.
bool WildcardMatch(const std::string& pattern, const std::string& name);
// What every name that matches the pattern begins with, once its ASCII
// letters are capitals (AsciiUpper): the pattern up to its first wild card,
// in capitals.
std::string WildcardLiteralPrefix(const std::string& pattern);

// The names of one folder, read once, in which many names are then found as
// ResolveCase finds them, without reading the folder for each. The names a
// caller creates in the folder are added with Add.
class FolderSpellings {
 public:
  // A folder that cannot be read holds no names.
  explicit FolderSpellings(const std::string& folder);
  // The last name of ResolveCase(folder + name).
  std::string Resolve(const std::string& name) const;
  void Add(const std::string& name);

 private:
  std::unordered_set<std::string> names_;
  // The spelling ResolveCase prefers, by the name in capitals.
  std::unordered_map<std::string, std::string> preferred_;
};

// A file that would grow past the process's file-size limit then fails with
// its error (reported like a full disk) instead of ending the program.
void IgnoreFileSizeSignal();

}  // namespace k2v
