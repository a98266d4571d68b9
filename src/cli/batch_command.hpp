#pragma once
// kolbrix2vantor --batch [--yes] [--jobs N] [--system-dir DIR] SOURCE_ROOT DESTINATION_ROOT
//
// Converts every export folder below SOURCE_ROOT into the same relative
// folder below DESTINATION_ROOT. Exit status: 0 every boring converted
// (warnings allowed), 1 a boring or the batch itself refused and none
// failed, 2 wrong usage, 3 a boring failed or the report could not be
// written.

#include <iosfwd>
#include <string>
#include <vector>

namespace k2v {

// True when the arguments ask for a batch.
bool IsBatchCommand(const std::vector<std::string>& args);

struct BatchTerminal {
  // Standard input is a terminal: the folder question may be asked there.
  bool input = false;
  // The error stream is a terminal: progress is a bar redrawn in place.
  bool errors = false;
};

// Runs the batch command with the arguments after the program's name;
// returns the exit status.
int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, BatchTerminal terminal);

}  // namespace k2v
