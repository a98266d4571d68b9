#include "convert/boring_records.hpp"

namespace k2v {

void ConvertLayerTable(ConversionContext&) {}

}  // namespace k2v
