#pragma once
// The X7 records as Vantor's G50.TXT reads them: seven fields of fixed byte
// widths with Vantor's codes, written to N7.txt and renamed at the end of the run.

#include <string>

namespace k2v {

// Rewrites an N7.TXT of folder that an earlier converter left with
// Kolbrix's codes and comma-separated fields (seven items a record) into the
// same layout and codes as the X7 conversion writes. Nothing happens when
// there is none or it is empty (the final names delete an empty one).
// Throws FileError.
void RewriteN7(const std::string& folder);

}  // namespace k2v
