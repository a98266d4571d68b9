#include "convert/boring_records.hpp"

namespace k2v {

void ConvertNTables(ConversionContext&) {}

}  // namespace k2v
