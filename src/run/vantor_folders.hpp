#pragma once
// Where Vantor's folders are found: the system folder that holds
// Radudi32.ini, and the pattern-data folder RADUDI, recognised by a
// non-empty kishitu.txt in it. Paths use the system's separator.

#include <string>
#include <vector>

#include "platform/folder_walk.hpp"
#include "text/message_text.hpp"

namespace k2v {

// The folders Radudi32.ini is looked for in when no folder is named on the
// command line, in order (the first that holds it is used):
// KOLBRIX2VANTOR_SYSTEM_DIR alone when it is set; else the user's
// configuration folder, then /etc (on Windows %APPDATA%\kolbrix2vantor, then
// the system directory).
std::vector<std::string> SysDirCandidates();
// That order for --help, one step per line, the command line's option first;
// its words through translate.
std::string SysDirLookupHelp(Translation translate = Untranslated);

// The RADUDI folder with a final separator, or the empty string when there
// is none or the search was cancelled: beside the program first (a link there
// is taken as the installer made it), then through every folder of the
// program's volume, then of every other volume. programFolder is the folder
// of the program file; volumeRoots the drives, the root first. The volume
// that holds the program is walked first and only once.
std::string FindRadudiFolder(const std::string& programFolder, const std::vector<std::string>& volumeRoots,
                             const SearchProgress& progress = {});

// True when folder is a RADUDI folder as the search recognises one: it
// holds a non-empty kishitu.txt (any letter case). Its own name may be any.
bool IsRadudiFolder(const std::string& folder);

}  // namespace k2v
