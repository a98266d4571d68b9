#pragma once
#include <array>
#include <string>

namespace k2v {

// Rewrites N7.TXT of the destination into Vantor's fixed byte layout and codes.
void RewriteN7Codes(const std::string& destinationFolder);

// Vantor's number for a Kolbrix X7 code (field 3): a code of the table, or
// the code itself left-aligned in two bytes.
std::string VantorN7Code(const std::string& kolbrixCode);

// One line of the rewritten N7.TXT from fields 1 to 7 (element 0 unused):
// 3, 6, 2, 7, 7, 8 and 8 bytes, joined by commas.
std::string N7Line(const std::array<std::string, 8>& fields);

}  // namespace k2v
