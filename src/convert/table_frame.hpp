#pragma once
// The frame of the N tables, the record series and X7: one file of the
// export, read record by record, becomes one output file of the destination
// folder.

#include <functional>
#include <string>

#include "convert/conversion_context.hpp"
#include "io/output_file.hpp"
#include "io/record_reader.hpp"

namespace k2v {

// Writes the line or lines of the record in reader.Fields. lineNumber is
// already counted for the record's first line; a writer that adds further
// lines counts them on.
using RecordLineWriter = std::function<void(const RecordReader& reader, OutputFile& out, long long& lineNumber)>;

// Converts sourceName of the source folder into outputName of the destination
// folder, records of fieldCount fields. A missing or empty source creates no
// output file; the result is then false.
bool ConvertTableFile(const ConversionContext& ctx, const std::string& sourceName, const std::string& outputName,
                      int fieldCount, const RecordLineWriter& writeRecord);
// The same, with the fields kept as options say.
bool ConvertTableFile(const ConversionContext& ctx, const std::string& sourceName, const std::string& outputName,
                      int fieldCount, const ReadOptions& options, const RecordLineWriter& writeRecord);

// Field k (from 1) of the record just read.
const std::string& FieldOf(const RecordReader& reader, int k);

// Field 2, the depth, in Vantor's depth column.
std::string DepthField(const RecordReader& reader);

}  // namespace k2v
