#pragma once
// All or nothing: a run builds its outputs in a hidden folder inside the
// destination and puts them in place only when every stage has finished.
// Until then the destination is exactly as it was; a run that is killed or
// fails leaves the earlier conversion whole.

#include <functional>
#include <string>
#include <vector>

namespace k2v {

class WorkingFolder {
 public:
  // The working folder's name inside the destination.
  static constexpr const char* kName = ".kolbrix2vantor-work";

  // Removes a working folder that an interrupted run left (and nothing
  // else), makes a fresh one and copies into it the destination files named
  // in seedNames (matched ignoring case), which the stages may read, rename or
  // delete. destinationFolder ends in the separator. Throws FileError.
  WorkingFolder(std::string destinationFolder, const std::vector<std::string>& seedNames);
  // Removes the working folder unless it was committed.
  ~WorkingFolder();
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

  // The working folder, ending in the separator: the stages' destination.
  const std::string& Path() const { return path_; }

  // Puts every new or changed file in place over its destination name, each
  // flushed to the disk first; then deletes the destination files the stages
  // removed, and the working folder. A file whose name takesNewSpelling
  // accepts replaces a differently spelt earlier file under the new spelling;
  // every other file keeps the spelling already in the destination. Nothing
  // is put in place when a destination name is taken by a folder. Throws
  // FileError.
  void Commit(const std::function<bool(const std::string&)>& takesNewSpelling);

 private:
  std::string destination_;
  std::string path_;
  // The destination spellings of the files copied in at the start.
  std::vector<std::string> seeded_;
  bool done_ = false;
};

}  // namespace k2v
