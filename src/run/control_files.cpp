#include "run/control_files.hpp"

namespace k2v {

void WriteControlFiles(const std::string&, const std::string&, const std::array<std::string, 3>&) {}

}  // namespace k2v
