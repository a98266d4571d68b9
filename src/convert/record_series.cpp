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
  // The R3 files in the order Vantor's series are written, not in numeric order.
  static constexpr std::array<const char*, 6> kR3BaseNames = {"R30", "R31", "R34", "R35", "R32", "R33"};
  for (const char* base : kR3BaseNames) {
    const std::string baseName(base);
    const std::string outputName = "G" + baseName.substr(1) + ".txt";
    const bool withSecondCode = baseName == "R30";
    ConvertTableFile(ctx, baseName + ".TXT", outputName, kR3Fields,
                     [withSecondCode](const RecordReader& r, OutputFile& out, long long& n) {
                       if (withSecondCode) {
                         out.WriteLine(JoinFields({Number3(n), DepthField(r), TrimRightColumn(FieldOf(r, 3), 2),
                                                   TrimRightColumn(FieldOf(r, 5), 2)}));
                       } else {
                         out.WriteLine(JoinFields({Number3(n), DepthField(r), TrimRightColumn(FieldOf(r, 3), 2)}));
                       }
                     });
  }

  ConvertTableFile(ctx, "R41.TXT", "G41.txt", kR41Fields, [](const RecordReader& r, OutputFile& out, long long& n) {
    out.WriteLine(JoinFields({Number3(n), DepthField(r), RightChars(FieldOf(r, 3), 3), RightChars(FieldOf(r, 4), 3),
                              RightChars(FieldOf(r, 5), 3)}));
  });

  // Vantor takes one 30-column line of the remark; the rest is not carried
  // over, nor read into memory.
  ReadOptions keepRemarkStart;
  keepRemarkStart.keepBytes = {{8, kG72TextWidth + kLeadingRoom}};
  ConvertTableFile(ctx, "R72.TXT", "G72.txt", kR72Fields, keepRemarkStart,
                   [](const RecordReader& r, OutputFile& out, long long& n) {
                     out.WriteLine(JoinFields({Number3(n), DepthField(r), TrimLeftColumn(FieldOf(r, 3), 3),
                                               TrimLeftColumn(FieldOf(r, 4), 2), TrimLeftColumn(FieldOf(r, 6), 2),
                                               WrappedLine(FieldOf(r, 8), kG72TextWidth, 1)}));
                   });
}

}  // namespace k2v
