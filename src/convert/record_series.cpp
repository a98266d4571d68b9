#include <array>
#include <string>

#include "convert/boring_records.hpp"
#include "convert/table_frame.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

std::string TrimRightN(const std::string& text, int n) { return RightChars(TrimRight(text), n); }
std::string TrimLeftN(const std::string& text, int n) { return RightChars(TrimLeft(text), n); }

constexpr int kG72TextWidth = 30;

}  // namespace

void ConvertRecordSeries(ConversionContext& ctx) {
  // The R3 files in the order Vantor's series are written, not in numeric order.
  static constexpr std::array<const char*, 6> kR3BaseNames = {"R30", "R31", "R34", "R35", "R32", "R33"};
  for (const char* base : kR3BaseNames) {
    const std::string baseName(base);
    const std::string outputName = "G" + baseName.substr(1) + ".txt";
    const bool withSecondCode = baseName == "R30";
    ConvertTableFile(ctx, baseName + ".TXT", outputName, 6,
                     [withSecondCode](const RecordReader& r, OutputFile& out, long long& n) {
                       if (withSecondCode) {
                         out.WriteLine(JoinFields({Number3(n), DepthField(r), TrimRightN(FieldOf(r, 3), 2),
                                                   TrimRightN(FieldOf(r, 5), 2)}));
                       } else {
                         out.WriteLine(JoinFields({Number3(n), DepthField(r), TrimRightN(FieldOf(r, 3), 2)}));
                       }
                     });
  }

  ConvertTableFile(ctx, "R41.TXT", "G41.txt", 11, [](const RecordReader& r, OutputFile& out, long long& n) {
    out.WriteLine(JoinFields({Number3(n), DepthField(r), RightChars(FieldOf(r, 3), 3), RightChars(FieldOf(r, 4), 3),
                              RightChars(FieldOf(r, 5), 3)}));
  });

  // Vantor takes one 30-column line of the remark; the rest is not carried over.
  ConvertTableFile(ctx, "R72.TXT", "G72.txt", 8, [](const RecordReader& r, OutputFile& out, long long& n) {
    out.WriteLine(JoinFields({Number3(n), DepthField(r), TrimLeftN(FieldOf(r, 3), 3), TrimLeftN(FieldOf(r, 4), 2),
                              TrimLeftN(FieldOf(r, 6), 2), WrappedLine(FieldOf(r, 8), kG72TextWidth, 1)}));
  });
}

}  // namespace k2v
