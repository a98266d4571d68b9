#include <array>
#include <span>
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

// The lines of the series: which field each column takes, its format and
// its width.
constexpr Column kG30Line[] = {
    {kLineNumber, ColumnFormat::Number, 3},
    {2, ColumnFormat::RightChars, 7},
    {3, ColumnFormat::TrimRightChars, 2},
    {5, ColumnFormat::TrimRightChars, 2},
};
// G31, G34, G35, G32 and G33: the same without the second code.
constexpr std::span<const Column> kG3xLine(kG30Line, 3);
constexpr Column kG41Line[] = {
    {kLineNumber, ColumnFormat::Number, 3}, {2, ColumnFormat::RightChars, 7}, {3, ColumnFormat::RightChars, 3},
    {4, ColumnFormat::RightChars, 3},       {5, ColumnFormat::RightChars, 3},
};
// The remark: line 1 of its text wrapped at kG72TextWidth bytes (a line of
// spaces for an empty remark).
constexpr int kG72TextWidth = 30;
constexpr int kRemark = 8;
constexpr int kRemarkLine = LineValues::kWorkedOut;
constexpr Column kG72Line[] = {
    {kLineNumber, ColumnFormat::Number, 3}, {2, ColumnFormat::RightChars, 7},    {3, ColumnFormat::TrimLeftChars, 3},
    {4, ColumnFormat::TrimLeftChars, 2},    {6, ColumnFormat::TrimLeftChars, 2}, {kRemarkLine, ColumnFormat::AsIs},
};
// Room for the spaces the remark's text may stand after (they are trimmed).
constexpr size_t kLeadingRoom = 1024;

}  // namespace

StepResult ConvertRecordSeries(const ConversionContext& ctx) {
  // The R3 files in the order Vantor's series are written, not in numeric order.
  static constexpr std::array<const char*, 6> kR3BaseNames = {"R30", "R31", "R34", "R35", "R32", "R33"};
  for (const char* base : kR3BaseNames) {
    const std::string baseName(base);
    const std::string outputName = "G" + baseName.substr(1) + ".txt";
    ConvertTableFile(ctx, baseName + ".TXT", outputName, kR3Fields,
                     baseName == "R30" ? std::span<const Column>(kG30Line) : kG3xLine);
  }
  ConvertTableFile(ctx, "R41.TXT", "G41.txt", kR41Fields, kG41Line);

  // Vantor takes one line of the remark; the rest is not carried over, nor
  // read into memory.
  ReadOptions keepRemarkStart;
  keepRemarkStart.keepBytes = {{kRemark, kG72TextWidth + kLeadingRoom}};
  std::string remarkLine;
  LineWrapper firstLineOnly(kG72TextWidth, [&remarkLine](const std::string& wrapped) {
    remarkLine = wrapped;
    return false;
  });
  std::string line;  // reused from record to record
  ConvertTableFile(ctx, "R72.TXT", "G72.txt", kR72Fields, keepRemarkStart,
                   [&](const RecordReader& r, OutputFile& out, long long& n) {
                     firstLineOnly.Add(FieldOf(r, kRemark));
                     firstLineOnly.Finish();
                     LineValues values(r);
                     values.Set(kRemarkLine, remarkLine);
                     LayOutLine(line, kG72Line, n, values);
                     out.WriteLine(line);
                   });
  return {};
}

}  // namespace k2v
