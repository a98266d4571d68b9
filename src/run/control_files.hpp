#pragma once
#include <array>
#include <string>

namespace k2v {

// Writes CNT.TXT and CNT2.TXT into the destination from the source CNT.TXT
// and components 3 to 5 of the destination path.
void WriteControlFiles(const std::string& sourceFolder, const std::string& destinationFolder,
                       const std::array<std::string, 3>& components345);

}  // namespace k2v
