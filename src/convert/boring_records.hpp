#pragma once
#include "convert/conversion_context.hpp"

namespace k2v {

// Converts the boring records of ctx.SourceFolder: the layer table, the N
// tables, the record series, then X6 and X7. With more than one worker the
// steps run side by side. The steps' results are joined in the steps' order
// (warnings, counts); the first failure in that order is thrown.
StepResult ConvertBoringRecords(const ConversionContext& ctx, unsigned workers = 1);

// The steps, in the order ConvertBoringRecords joins them. Each throws
// FileError when a file cannot be read or written.
StepResult ConvertLayerTable(const ConversionContext& ctx);
StepResult ConvertNTables(const ConversionContext& ctx);
StepResult ConvertRecordSeries(const ConversionContext& ctx);
StepResult ConvertX6(const ConversionContext& ctx);
StepResult ConvertX7(const ConversionContext& ctx);

}  // namespace k2v
