#pragma once
#include <string>

#include "titles/title_table.hpp"

namespace k2v {

// Writes Titl1.txt and Titl2.txt into the destination folder.
void WriteTitleSheets(const std::string& destinationFolder, const TitleTable& table);

}  // namespace k2v
