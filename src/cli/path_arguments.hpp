#pragma once
// The folder arguments of the command line, in the form a run takes them.

#include <string>

namespace k2v {

// Trimmed, absolute against the current folder, then as the window gives a
// typed path to the run (TypedPathText); empty stays empty. With the current folder removed, a relative path stays
// relative, which the run's path check refuses.
std::string PathArgument(const std::string& raw);

// The same without a final separator, which shell completion adds (on
// Windows either separator; a drive's root stays whole).
std::string FolderArgument(const std::string& raw);

// True when a file written to path (as PathArgument gives it) would stand in
// folder or in a folder below it, as both are on the disk (links resolved):
// a list of the program's that must not land among the export's files.
bool LandsInsideFolder(const std::string& path, const std::string& folder);

// Vantor keeps a boring three levels below its GANBAN folder, and CNT.TXT
// takes levels 3 to 5 of the destination's path (level 1 is the drive, or
// the empty text before the first "/"). For a destination folder (as
// FolderArgument gives it) with fewer levels, the warning line that names
// the levels missing and the lines of CNT.TXT left empty; empty when it has
// all five.
std::string MissingLevelsWarning(const std::string& destination);

}  // namespace k2v
