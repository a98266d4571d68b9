#pragma once
#include "convert/conversion_context.hpp"

namespace k2v {

// Converts the boring records of ctx.SourceFolder: the layer table, the N
// tables, the record series, then X6 and X7. With more than one worker the
// steps run side by side; the outputs, the warnings (in the steps' order),
// the counts and the failure reported (the first in the steps' order) are
// those of the steps one by one.
void ConvertBoringRecords(ConversionContext& ctx, unsigned workers = 1);

// The steps, in the order ConvertBoringRecords calls them.
void ConvertLayerTable(ConversionContext& ctx);
void ConvertNTables(ConversionContext& ctx);
void ConvertRecordSeries(ConversionContext& ctx);
void ConvertX6(ConversionContext& ctx);
void ConvertX7(ConversionContext& ctx);

}  // namespace k2v
