#pragma once
#include <string>

namespace k2v {

// Copies the files Vantor takes unchanged (title files, G71/G73/G81,
// PCNT.TXT and the file groups it names) from source to destination.
void GatherSourceFiles(const std::string& sourceFolder, const std::string& destinationFolder);

}  // namespace k2v
