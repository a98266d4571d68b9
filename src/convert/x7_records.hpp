#pragma once
// The X7 records as Vantor's G50.TXT reads them: seven fields of fixed byte
// widths with Vantor's codes, written to N7.txt and renamed at the end of the run.

#include <array>
#include <string>

namespace k2v {

// Vantor's number for a Kolbrix X7 code (field 3): a code of the table, or
// the code itself left-aligned in two bytes.
std::string VantorN7Code(const std::string& kolbrixCode);

// One line of G50.TXT from fields 1 to 7 (element 0 unused), each without
// spaces at either end: 3, 6, 2, 7, 7, 8 and 8 bytes, joined by commas.
std::string N7Line(const std::array<std::string, 8>& fields);

// Rewrites an N7.TXT of folder that an earlier converter left with
// Kolbrix's codes and comma-separated fields (seven items a record) into the
// same layout and codes as the X7 conversion writes. Nothing happens when
// there is none; an empty one is deleted. Throws FileError.
void RewriteN7(const std::string& folder);

}  // namespace k2v
