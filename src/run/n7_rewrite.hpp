#pragma once
#include <string>

namespace k2v {

// Rewrites N7.TXT of the destination into Vantor's fixed byte layout and codes.
void RewriteN7Codes(const std::string& destinationFolder);

}  // namespace k2v
