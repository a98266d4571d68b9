#pragma once
#include "convert/conversion_context.hpp"

namespace k2v {

// Converts the boring records of ctx.SourceFolder: the layer table, the N
// tables, the record series, then X6 and X7.
void ConvertBoringRecords(ConversionContext& ctx);

// The steps, in the order ConvertBoringRecords calls them.
void ConvertLayerTable(ConversionContext& ctx);
void ConvertNTables(ConversionContext& ctx);
void ConvertRecordSeries(ConversionContext& ctx);
void ConvertX6(ConversionContext& ctx);
void ConvertX7(ConversionContext& ctx);

}  // namespace k2v
