#pragma once
// All or nothing: a run builds its outputs in a hidden folder inside the
// destination and puts them in place only when every stage has finished.
// The final step is a rollback journal: every file it replaces or removes is
// first moved aside into the working folder, so that a failure at any point
// of it is undone, and a run killed inside it is undone by the next run into
// that folder. The caller holds the destination's lock throughout.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.hpp"

namespace k2v {

// The final step failed, and putting the earlier files back failed too: the
// destination is a mix of earlier and new files until the next run into it,
// which puts the rest back from the journal first.
class NotRestored : public FileError {
 public:
  using FileError::FileError;
};

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

  // What Recover did.
  enum class Recovery {
    Cleared,     // removed the working folder; the destination was whole
    RolledBack,  // put the earlier files of an interrupted final step back first
    // Changed nothing: the journal names something other than the
    // destination's own files, stands behind a link, or is damaged while
    // earlier files wait in the working folder.
    Untrusted,
  };
  // Clears a working folder (ours, see Inspect) that an interrupted run
  // left. A run killed inside its final step before the commit point left
  // its journal, which first puts every earlier file back; one killed after
  // it has its new files in place, and only the clean-up is finished. Works
  // through the open folders, never following a link. Throws FileError (the
  // folder then stays, and the next run tries again).
  static Recovery Recover(const std::string& destinationFolder);

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
  // failure before the commit point the destination is put back as it was,
  // and the FileError thrown names the destination file (NotRestored when
  // putting it back failed too). The commit point is the journal giving up
  // its name once every file is in place, flushed to the disk: a failure
  // after it (removing the working folder) leaves the new conversion whole
  // and is returned, not thrown; the next run finishes the clean-up.
  std::optional<FileError> Commit(const std::function<bool(const std::string&)>& takesNewSpelling);

 private:
  std::string destination_;
  std::string path_;
  // The destination spellings of the files copied in at the start.
  std::vector<std::string> seeded_;
  // Committed, or an undo failed and the journal must stay for the next run.
  bool keep_ = false;
};

}  // namespace k2v
