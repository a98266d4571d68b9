#include "convert/boring_records.hpp"

namespace k2v {

void ConvertBoringRecords(ConversionContext& ctx) {
  ConvertLayerTable(ctx);
  ConvertNTables(ctx);
  ConvertRecordSeries(ctx);
  ConvertX6(ctx);
  ConvertX7(ctx);
}

}  // namespace k2v
