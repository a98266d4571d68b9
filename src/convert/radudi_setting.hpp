#pragma once
// Radudi32.ini, the settings file of Vantor in the system folder: its line 2
// names Vantor's pattern-data folder.

#include <string>

namespace k2v {

// The settings file's name; matched in any letter case, as every other file is.
inline constexpr const char* kRadudiIniName = "Radudi32.ini";

// The path of Radudi32.ini in a system folder, with the system's separator.
std::string RadudiIniPath(const std::string& systemDir);

// The pattern-data folder named by Radudi32.ini: the first item of line 2
// (item syntax of the export files), trimmed. The empty text when the file is
// missing or empty or has no line 2. Lines may end in CR LF, CR or LF. Nothing
// is created. Throws FileError when the file exists but cannot be read.
std::string ReadRadudiSetting(const std::string& systemDir);

}  // namespace k2v
