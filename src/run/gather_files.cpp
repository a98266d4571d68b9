#include "run/gather_files.hpp"

namespace k2v {

void GatherSourceFiles(const std::string&, const std::string&) {}

}  // namespace k2v
