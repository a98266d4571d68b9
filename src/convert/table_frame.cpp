#include "convert/table_frame.hpp"

#include "text/sjis_text.hpp"

namespace k2v {

bool ConvertTableFile(const ConversionContext& ctx, const std::string& sourceName, const std::string& outputName,
                      int fieldCount, const RecordLineWriter& writeRecord) {
  RecordReader reader(ctx.DestinationPath);
  if (reader.OpenOrDropEmpty(ctx.SourceFolder + sourceName)) return false;
  OutputFile out(JoinPath(ctx.DestinationPath, outputName));
  long long lineNumber = 0;
  for (;;) {
    reader.ReadRecord(fieldCount, 2);
    if (reader.RecordPos[2] == RecordReader::kEnd) break;
    ++lineNumber;
    writeRecord(reader, out, lineNumber);
  }
  reader.Close();
  out.Close();
  return true;
}

const std::string& FieldOf(const RecordReader& reader, int k) { return reader.Fields[static_cast<size_t>(k)]; }

std::string DepthField(const RecordReader& reader) { return RightChars(FieldOf(reader, 2), 7); }

std::string JoinFields(std::initializer_list<std::string> fields) {
  std::string line;
  bool first = true;
  for (const std::string& field : fields) {
    if (!first) line += ',';
    line += field;
    first = false;
  }
  return line;
}

}  // namespace k2v
