#include "convert/boring_records.hpp"

namespace k2v {

void ConvertRecordSeries(ConversionContext&) {}

}  // namespace k2v
