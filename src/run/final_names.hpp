#pragma once
#include <string>

namespace k2v {

// Gives the intermediate N files their Vantor names and deletes empty ones.
void ApplyFinalOutputNames(const std::string& destinationFolder);

}  // namespace k2v
