#pragma once
#include <string>

#include "titles/title_table.hpp"

namespace k2v {

// Reads the copies titl01.txt to titl03.txt of the destination folder into
// the table and deletes them. Of a line longer than 4 KB only what the
// title sheets show is kept.
void ReadTitleFiles(TitleTable& table, const std::string& destinationPath);

}  // namespace k2v
