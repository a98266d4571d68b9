#include "convert/boring_records.hpp"

namespace k2v {

void ConvertX7(ConversionContext&) {}

}  // namespace k2v
