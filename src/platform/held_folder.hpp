#pragma once
// A folder held open while names in it are moved, deleted or read: the final
// step of a run and the recovery of an interrupted one. Every name is reached
// through the folder that was opened, never through a path whose folders
// could have been replaced since, and a link at a name is never followed (it
// is moved or deleted as the link it is). On Linux the folder is held by
// descriptor (renameat, unlinkat, openat with O_NOFOLLOW); on Windows by a
// handle that lets no one rename or remove it while it is held, and a
// reparse point is opened as itself (FILE_FLAG_OPEN_REPARSE_POINT). The
// system calls are in held_folder_posix.cpp and held_folder_win32.cpp.
//
// Every operation that changes something, and every listing, asks the fault
// hook (files.hpp) first, with the path it works on. Failures throw FileError
// with that path and the system's reason.

#include <memory>
#include <string>
#include <vector>

namespace k2v {

class HeldFolder {
 public:
  // What stands under a name in the folder.
  enum class Kind {
    None,    // nothing
    File,    // a regular file
    Folder,  // a folder itself
    Link,    // a symbolic link (on Windows any reparse point), not followed
    Other,   // anything else (a device, a pipe)
  };

  // Opens the folder at path; a link at path itself is followed (the user
  // chose it).
  explicit HeldFolder(const std::string& path);
  ~HeldFolder();
  HeldFolder(HeldFolder&&) noexcept;
  HeldFolder& operator=(HeldFolder&&) noexcept;
  HeldFolder(const HeldFolder&) = delete;
  HeldFolder& operator=(const HeldFolder&) = delete;

  // The folder name in this one; a link there is refused, not followed.
  HeldFolder Sub(const std::string& name) const;

  // The path the folder was opened by, without a final separator.
  const std::string& Path() const { return path_; }
  // The path of name in the folder, for messages.
  std::string PathOf(const std::string& name) const;

  Kind KindOf(const std::string& name) const;
  // Every name in the folder ("." and ".." left out), sorted.
  std::vector<std::string> Names() const;
  // The content of the regular file name; a link there is refused.
  std::string ReadFile(const std::string& name) const;
  // Creates the file name with the bytes; fails when anything, a link too,
  // already stands under the name.
  void WriteNewFile(const std::string& name, const std::string& bytes) const;
  // Gives name in this folder the name toName in folder to, in one step,
  // replacing a file or link there. Throws FileError naming the new path.
  void Move(const std::string& name, const HeldFolder& to, const std::string& toName) const;
  // Deletes the file or link name; nothing there is no failure.
  void Delete(const std::string& name) const;
  void CreateFolder(const std::string& name) const;
  // Removes what stands under name: a folder with everything in it (a link
  // inside it is deleted, never followed), else the file or link itself.
  void RemoveTree(const std::string& name) const;
  // Flushes the folder's entries (names made, changed or removed in it) to
  // the disk.
  void Sync() const;

  // What the system holds of the folder, defined by each system's file.
  struct System;

 private:
  HeldFolder(std::string path, std::unique_ptr<System> system);
  void RemoveEmptyFolder(const std::string& name) const;

  std::string path_;
  std::unique_ptr<System> system_;
};

// True when name names an entry directly in a folder: not empty, not "." or
// "..", and without a separator or a NUL; on Windows also without ":", which
// names a stream of a file, and no device's name (CON, NUL, COM1 ...).
bool IsPlainName(const std::string& name);

}  // namespace k2v
