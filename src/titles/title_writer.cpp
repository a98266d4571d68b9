#include "titles/title_writer.hpp"

namespace k2v {

void WriteTitleSheets(const std::string&, const std::string&, const TitleTable&) {}

}  // namespace k2v
