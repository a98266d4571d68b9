#include "run/final_names.hpp"

namespace k2v {

void ApplyFinalOutputNames(const std::string&) {}

}  // namespace k2v
