#pragma once
#include <string>

#include "titles/title_table.hpp"

namespace k2v {

// How many bytes of the cell's line the sheets can show, read from its
// start: enough for the lines Vantor takes of a wrapped or numeric cell (with
// room for spaces before the text), none of a cell no sheet shows, and all
// of a cell shown as stored or by its end.
size_t TitleCellKeepBytes(size_t row, size_t column);

// Writes Titl1.txt and Titl2.txt into the destination folder.
void WriteTitleSheets(const std::string& destinationFolder, const TitleTable& table);

}  // namespace k2v
