#pragma once
// The program's command-line arguments as UTF-8 texts.

#include <string>
#include <vector>

namespace k2v {

// The arguments after the program's name, as the user typed them, in UTF-8.
// On Linux they arrive so; a Windows build takes them from the wide command
// line instead of argv, which holds them in the ANSI code page.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Whether args[i] is an option that takes a value, in the GNU forms
// "--name VALUE", "--name=VALUE" and, when shortName is given, "-n VALUE".
enum class OptionValue { NotThisOption, Taken, Missing };
// On Taken, value holds the value and i the index of the last argument used.
OptionValue TakeOptionValue(const std::vector<std::string>& args, size_t& i, const std::string& longName,
                            const std::string& shortName, std::string& value);

}  // namespace k2v
