#pragma once
// The folders and settings the system names for a program: its own folder,
// the user's configuration folder, the system's settings folder, the
// environment and the user's language. Paths use the system's separator.

#include <string>

namespace k2v {

// The folder of the running program file, without a final separator.
std::string ProgramFolder();

// The user's configuration folder of the program: $XDG_CONFIG_HOME (when
// absolute) or ~/.config, then kolbrix2vantor; on Windows
// %APPDATA%\kolbrix2vantor. Empty when neither is known.
std::string UserConfigFolder();

// The folder of the system's own settings files: /etc; on Windows the
// system directory (C:\Windows\System32).
std::string SystemSettingsFolder();

// The value of the environment variable in UTF-8; empty when it is not set.
std::string EnvironmentText(const char* name);

// How a help text names them: "$NAME" (Windows "%NAME%"), the configuration
// folder as UserConfigFolder finds it, and the system's settings folder.
std::string EnvironmentNotation(const std::string& name);
std::string UserConfigFolderNotation();
std::string SystemSettingsFolderNotation();

// The language of the user's interface as the system names it ("ja-JP"):
// on Windows the user's display language; empty on Linux, where the
// environment's LC_ALL, LC_MESSAGES and LANG name it.
std::string UserInterfaceLanguage();

}  // namespace k2v
