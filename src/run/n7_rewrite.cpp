#include "run/n7_rewrite.hpp"

namespace k2v {

void RewriteN7Codes(const std::string&) {}

}  // namespace k2v
