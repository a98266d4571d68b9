#include <array>
#include <string>

#include "convert/boring_records.hpp"
#include "convert/table_frame.hpp"
#include "text/columns.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

// Fields per record of the series files.
constexpr int kR3Fields = 6;
constexpr int kR41Fields = 11;
constexpr int kR72Fields = 8;

constexpr int kG72TextWidth = 30;
// Room for the spaces the remark's text may stand after (they are trimmed).
constexpr size_t kLeadingRoom = 1024;

}  // namespace

void ConvertRecordSeries(ConversionContext& ctx) {
  std::string line;  // each output line is built here, one after the other
  // The R3 files in the order Vantor's series are written, not in numeric order.
  static constexpr std::array<const char*, 6> kR3BaseNames = {"R30", "R31", "R34", "R35", "R32", "R33"};
  for (const char* base : kR3BaseNames) {
    const std::string baseName(base);
    const std::string outputName = "G" + baseName.substr(1) + ".txt";
    const bool withSecondCode = baseName == "R30";
    ConvertTableFile(ctx, baseName + ".TXT", outputName, kR3Fields,
                     [&line, withSecondCode](const RecordReader& r, OutputFile& out, long long& n) {
                       LineFields fields(line);
                       AppendNumber3(fields.Field(), n);
                       AppendDepthColumn(fields.Field(), FieldOf(r, 2));
                       AppendTrimRightColumn(fields.Field(), FieldOf(r, 3), 2);
                       if (withSecondCode) AppendTrimRightColumn(fields.Field(), FieldOf(r, 5), 2);
                       out.WriteLine(line);
                     });
  }

  ConvertTableFile(ctx, "R41.TXT", "G41.txt", kR41Fields, [&line](const RecordReader& r, OutputFile& out, long long& n) {
    LineFields fields(line);
    AppendNumber3(fields.Field(), n);
    AppendDepthColumn(fields.Field(), FieldOf(r, 2));
    for (int k : {3, 4, 5}) AppendRightChars(fields.Field(), FieldOf(r, k), 3);
    out.WriteLine(line);
  });

  // Vantor takes one 30-column line of the remark; the rest is not carried
  // over, nor read into memory.
  ReadOptions keepRemarkStart;
  keepRemarkStart.keepBytes = {{8, kG72TextWidth + kLeadingRoom}};
  std::string remarkLine;
  LineWrapper firstLineOnly(kG72TextWidth, [&remarkLine](const std::string& wrapped) {
    remarkLine = wrapped;
    return false;
  });
  ConvertTableFile(ctx, "R72.TXT", "G72.txt", kR72Fields, keepRemarkStart,
                   [&](const RecordReader& r, OutputFile& out, long long& n) {
                     LineFields fields(line);
                     AppendNumber3(fields.Field(), n);
                     AppendDepthColumn(fields.Field(), FieldOf(r, 2));
                     AppendTrimLeftColumn(fields.Field(), FieldOf(r, 3), 3);
                     AppendTrimLeftColumn(fields.Field(), FieldOf(r, 4), 2);
                     AppendTrimLeftColumn(fields.Field(), FieldOf(r, 6), 2);
                     // Line 1 of the wrapped remark (a line of spaces for an empty one).
                     firstLineOnly.Add(FieldOf(r, 8));
                     firstLineOnly.Finish();
                     fields.Field() += remarkLine;
                     out.WriteLine(line);
                   });
}

}  // namespace k2v
