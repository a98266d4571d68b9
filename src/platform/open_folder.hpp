#pragma once
// A folder held open while a walk reads it (folder_walk.cpp): on Linux by
// descriptor, so that a name inside it is reached without following a link
// that took a folder's place since it was listed; on Windows by its path and
// the listing read when it was opened. The system calls are in
// folder_walk_posix.cpp and folder_walk_win32.cpp.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace k2v {

// One name in a folder ("." and ".." are not listed).
struct FolderEntry {
  std::string name;
  // A folder itself: not a symbolic link to one, on Windows no reparse point.
  bool folder = false;
};

class OpenFolder {
 public:
  // Opens the folder at path; a symbolic link at path itself is followed
  // unless noFollow. IsOpen() is false when it cannot be opened.
  OpenFolder(const std::string& path, bool noFollow);
  // Opens the folder name inside parent, not following a link there.
  OpenFolder(const OpenFolder& parent, const std::string& name);
  ~OpenFolder();
  OpenFolder(OpenFolder&&) noexcept;
  OpenFolder& operator=(OpenFolder&&) noexcept;

  bool IsOpen() const;
  const std::string& Path() const { return path_; }
  // The entries in the system's order; none when the folder cannot be read.
  std::vector<FolderEntry> Entries() const;
  // The size of the regular file of this exact name in the folder (a link
  // to one followed); -1 when there is none or it cannot be looked at.
  std::int64_t FileSize(const std::string& name) const;
  // True when other lies on the same volume (file system) as this folder.
  bool OnSameVolume(const OpenFolder& other) const;
  // Gives the system's hold back; the folder stays known by its path.
  void Release();
  // The system's reason when the folder could not be opened, listed or
  // looked into for a reason a walk may not pass over: not a folder that is
  // gone, was replaced by a link since it was listed or may not be read, but
  // a failing disk and the like. Empty otherwise.
  const std::string& Failure() const { return failure_; }

  // What the system holds of an open folder, defined by each system's file.
  struct System;

 private:
  std::string path_;
  // Before system_, which notes in it why it could not be opened.
  mutable std::string failure_;
  std::unique_ptr<System> system_;
};

}  // namespace k2v
