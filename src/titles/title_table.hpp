#pragma once
// The title lines of a boring: row r (1 to 3) holds the lines of titl0r.txt,
// column n (1 to 50) line n. Row 0 and column 0 are never used.

#include <array>
#include <string>

namespace k2v {

using TitleTable = std::array<std::array<std::string, 51>, 4>;

}  // namespace k2v
