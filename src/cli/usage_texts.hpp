#pragma once
// The texts of a usage error that the single conversion and the batch share,
// in the user's language.

#include <string>

namespace k2v {

// The closing line of a usage error, with its line end.
const char* TryHelpLine();
// The problem of an option given without its value.
std::string MissingValueProblem(const std::string& option);
// The problem of an option the command does not know.
std::string UnknownOptionProblem(const std::string& option);

}  // namespace k2v
