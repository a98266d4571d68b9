#pragma once
#include <string>

#include "titles/title_table.hpp"

namespace k2v {

// Reads the copies titl01.txt to titl03.txt of the destination folder into
// the table and deletes them.
void ReadTitleFiles(TitleTable& table, const std::string& destinationPath);

}  // namespace k2v
