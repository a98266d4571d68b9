#include "convert/table_frame.hpp"

#include <memory>

#include "platform/files.hpp"

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
      JoinPath(ctx.SourceFolder, sourceName), fieldCount, options,
      [&] { out = std::make_unique<OutputFile>(JoinPath(ctx.DestinationPath, outputName)); },
      [&](const RecordReader& r) {
        ++lineNumber;
        writeRecord(r, *out, lineNumber);
      });
  if (out) out->Close();
  return hadData;
}

bool ConvertTableFile(const ConversionContext& ctx, const std::string& sourceName, const std::string& outputName,
                      int fieldCount, std::span<const Column> layout) {
  std::string line;  // reused from record to record
  return ConvertTableFile(ctx, sourceName, outputName, fieldCount,
                          [&](const RecordReader& r, OutputFile& out, long long& n) {
                            LayOutLine(line, layout, n, r.Fields);
                            out.WriteLine(line);
                          });
}

const std::string& FieldOf(const RecordReader& reader, int k) { return reader.Fields[static_cast<size_t>(k)]; }

}  // namespace k2v
