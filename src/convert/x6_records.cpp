#include "convert/boring_records.hpp"

namespace k2v {

void ConvertX6(ConversionContext&) {}

}  // namespace k2v
