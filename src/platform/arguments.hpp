#pragma once
// The program's command-line arguments as UTF-8 texts.

#include <string>
#include <vector>

namespace k2v {

// The arguments after the program's name, as the user typed them, in UTF-8.
// On Linux they arrive so; a Windows build takes them from the wide command
// line instead of argv, which holds them in the ANSI code page.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace k2v
