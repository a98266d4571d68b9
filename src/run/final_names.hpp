#pragma once
#include <string>
#include <vector>

namespace k2v {

// Gives the intermediate N files their Vantor names and deletes empty ones.
void ApplyFinalOutputNames(const std::string& destinationFolder);

// The names of the intermediate N files.
std::vector<std::string> IntermediateOutputNames();
// The name Vantor reads an intermediate file under (ignoring case); any
// other name as it is.
std::string FinalNameOf(const std::string& name);
// True when name is one of Vantor's final names that the renames give
// (these take the new spelling over a differently spelt earlier file).
bool IsFinalOutputName(const std::string& name);

}  // namespace k2v
