#pragma once
// Checks of the two folder paths a run is given, and the one form the run
// builds file names from: trimmed, ending in the separator.

#include <functional>
#include <string>

#include "run/front_end.hpp"

namespace k2v {

class PathRules {
 public:
  virtual ~PathRules() = default;
  // The folder separator of these rules.
  virtual char Separator() const = 0;
  // Checks and normalises path in place; may show a message through ui.
  virtual bool ValidatePath(std::string& path, FrontEnd& ui) const = 0;
  // The refusal of a destination typed with a final separator.
  virtual std::string TrailingSeparatorMessage() const = 0;
  // The ganban-folder message of the window, with this platform's separator.
  virtual std::string GanbanMissingMessage() const = 0;
};

// Drive letters, "\" and the drive-letter message. selectDrive makes the
// drive current and says whether it exists and is ready.
class WindowsPathRules : public PathRules {
 public:
  explicit WindowsPathRules(std::function<bool(char)> selectDrive);
  char Separator() const override { return '\\'; }
  bool ValidatePath(std::string& path, FrontEnd& ui) const override;
  std::string TrailingSeparatorMessage() const override;
  std::string GanbanMissingMessage() const override;

 private:
  std::function<bool(char)> selectDrive_;
};

// Paths that begin with "/"; no drives.
class PosixPathRules : public PathRules {
 public:
  char Separator() const override { return '/'; }
  bool ValidatePath(std::string& path, FrontEnd& ui) const override;
  std::string TrailingSeparatorMessage() const override;
  std::string GanbanMissingMessage() const override;
};

// The rules of the platform the program runs on.
const PathRules& NativePathRules();

// The folder path a front end gives a run for what the user typed: "." and
// ".." taken out and a run of separators written as one (a doubled
// separator names the same folder), so that the run's levels are the
// folder's real ones. A relative path stays relative; the spaces around the
// path and a final separator the user typed stay as they were, for the
// run's own checks. The window and the command line give the same text for
// the same input.
std::string TypedPathText(const std::string& typed);

extern const char* const kDriveLetterMessage;
extern const char* const kPosixRootMessage;

}  // namespace k2v
