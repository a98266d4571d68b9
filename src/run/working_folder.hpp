#pragma once
// All or nothing: a run builds its outputs in a hidden folder inside the
// destination and puts them in place only when every stage has finished.
// The final step is a rollback journal: every file it replaces or removes is
// first moved aside into the working folder, so that a failure at any point
// of it is undone, and a run killed inside it is undone by the next run into
// that folder. The caller holds the destination's lock throughout.

#include <functional>
#include <string>
#include <vector>

namespace k2v {

class WorkingFolder {
 public:
  // The working folder's name inside the destination.
  static constexpr const char* kName = ".kolbrix2vantor-work";

  // What stands under the working folder's name in a destination.
  enum class Leftover {
    None,     // nothing
    Ours,     // a working folder that this program made (it holds the marker)
    Foreign,  // anything else: the user's, never touched
  };
  static Leftover Inspect(const std::string& destinationFolder);

  // Clears a working folder that an interrupted run left: when the run was
  // killed inside its final step, its journal first puts every earlier file
  // back. Returns true when it did. Throws FileError (the folder then stays,
  // and the next run tries again).
  static bool Recover(const std::string& destinationFolder);

  // Makes a fresh working folder (none may stand there: see Recover) and
  // copies into it the destination files named in seedNames (matched ignoring
  // case), which the stages may read, rename or delete. destinationFolder
  // ends in the separator. Throws FileError.
  WorkingFolder(std::string destinationFolder, const std::vector<std::string>& seedNames);
  // Removes the working folder unless a journal in it still has earlier
  // files to put back.
  ~WorkingFolder();
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

  // The working folder, ending in the separator: the stages' destination.
  const std::string& Path() const { return path_; }

  // Puts every new or changed file in place over its destination name, each
  // flushed to the disk first; then removes the destination files the stages
  // removed, and the working folder. A file whose name takesNewSpelling
  // accepts replaces a differently spelt earlier file under the new spelling;
  // every other file keeps the spelling already in the destination. Nothing
  // is put in place when a destination name is taken by a folder. On a
  // failure the destination is put back as it was, and the FileError thrown
  // names the destination file.
  void Commit(const std::function<bool(const std::string&)>& takesNewSpelling);

 private:
  std::string destination_;
  std::string path_;
  // The destination spellings of the files copied in at the start.
  std::vector<std::string> seeded_;
  // Committed, or an undo failed and the journal must stay for the next run.
  bool keep_ = false;
};

}  // namespace k2v
