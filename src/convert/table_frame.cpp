#include "convert/table_frame.hpp"

#include <memory>

#include "platform/files.hpp"
#include "text/columns.hpp"

namespace k2v {

bool ConvertTableFile(const ConversionContext& ctx, const std::string& sourceName, const std::string& outputName,
                      int fieldCount, const RecordLineWriter& writeRecord) {
  return ConvertTableFile(ctx, sourceName, outputName, fieldCount, ReadOptions{}, writeRecord);
}

bool ConvertTableFile(const ConversionContext& ctx, const std::string& sourceName, const std::string& outputName,
                      int fieldCount, const ReadOptions& options, const RecordLineWriter& writeRecord) {
  std::unique_ptr<OutputFile> out;
  long long lineNumber = 0;
  const bool hadData = ForEachRecord(
      ctx.SourceFolder + sourceName, fieldCount, ctx.DestinationPath, options,
      [&] { out = std::make_unique<OutputFile>(JoinPath(ctx.DestinationPath, outputName)); },
      [&](const RecordReader& r) {
        ++lineNumber;
        writeRecord(r, *out, lineNumber);
      });
  if (out) out->Close();
  return hadData;
}

const std::string& FieldOf(const RecordReader& reader, int k) { return reader.Fields[static_cast<size_t>(k)]; }

std::string DepthField(const RecordReader& reader) { return DepthColumn(FieldOf(reader, 2)); }

}  // namespace k2v
