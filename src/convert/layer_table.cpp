#include "convert/layer_table.hpp"

#include "convert/boring_records.hpp"
#include "soil/soil_codes.hpp"
#include "platform/files.hpp"
#include "text/columns.hpp"
#include "text/number_format.hpp"
#include "io/output_file.hpp"
#include "io/record_reader.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// X1.TXT: number, depth, (not used), soil description.
constexpr int kX1Fields = 4;
// D10B.txt has six blank two-column fields before and after the codes.
constexpr int kD10BBlankColumns = 6;
const std::string kBlank = "  ";

// A number as Vantor's program writes it: a space (or the minus sign) and the
// digits.
std::string SignedDigits(long long n) {
  if (n < 0) return std::to_string(n);
  std::string text(1, ' ');
  text += std::to_string(n);
  return text;
}

// The leading whole number of a three-column code text; 0 for three spaces.
long long ValueOf(const std::string& text) {
  long long value = 0;
  AsWholeNumber(NumericValue(text), value);
  return value;
}

// D10.txt's code of a component: the main code as it is when it is not a
// multiple of 100, else the class digit with the quality and admixture codes
// added (300 with 10 and 3 gives 313).
std::string CombinedCode(const std::string& mainText, int quality, int admixture) {
  long long value = ValueOf(mainText);
  if (value % 100 != 0) return mainText;
  return SjisRight("000" + std::to_string(value + admixture + quality), 3);
}

}  // namespace

std::string MainCodeText(int code) {
  if (code == -1) return "   ";
  return RightCharsOf("000" + std::to_string(code), 3);
}

void ConvertLayerTable(ConversionContext& ctx) {
  OutputFile d10b(JoinPath(ctx.DestinationPath, "D10B.txt"));
  OutputFile d10(JoinPath(ctx.DestinationPath, "D10.txt"));
  OutputFile g10(JoinPath(ctx.DestinationPath, "G10.txt"));

  long long dLine = 0;
  long long gLine = 0;
  std::string depth;
  std::string number;
  std::string line;  // each output line is built here, one after the other
  ForEachRecord(ctx.SourceFolder + "X1.TXT", kX1Fields, ctx.DestinationPath, [&](const RecordReader& reader) {
    depth.clear();
    AppendDepthColumn(depth, reader.Fields[2]);
    const LayerParts parts = SplitLayerDescription(reader.Fields[4]);
    const LayerCodes codes = ClassifyLayer(ctx.SoilTables, parts);
    ++ctx.LayerCount;
    bool uncoded = false;
    for (size_t k = 0; k < 2 && static_cast<int>(k) < parts.count; ++k) {
      if (codes.main[k] != -1 || codes.quality[k] != 0 || codes.admixture[k] != 0) continue;
      // A layer counts once for a name, also when both parts are that name.
      if (k == 0 || !uncoded || parts.texts[1] != parts.texts[0]) {
        CountUncodedName(ctx, parts.texts[k], codes.lookedUp[k]);
      }
      if (!uncoded) ++ctx.UncodedLayers;
      uncoded = true;
    }
    const std::string m1 = MainCodeText(codes.main[0]);
    const std::string m2 = MainCodeText(codes.main[1]);

    // Main codes from 100 on that are not whole hundreds (150, 210) are G10.txt layers.
    const long long v = ValueOf(m1);
    if (v >= 100 && v % 100 != 0) {
      LineFields fields(line);
      AppendNumber3(fields.Field(), ++gLine);
      fields.Field() += depth;
      fields.Field() += m1;
      fields.Field() += m2;
      g10.WriteLine(line);
      return;
    }

    number.clear();
    AppendNumber3(number, ++dLine);
    {
      LineFields fields(line);
      fields.Field() += number;
      fields.Field() += depth;
      for (int b = 0; b < kD10BBlankColumns; ++b) fields.Field() += kBlank;
      for (size_t k = 0; k < 2; ++k) {
        // Units digit of the admixture code, two columns of the quality code.
        fields.Field() += RightCharsOf(SignedDigits(codes.admixture[k]), 1);
        AppendRightChars(fields.Field(), SignedDigits(codes.quality[k]), 2);
        fields.Field() += k == 0 ? m1 : m2;
      }
      for (int b = 0; b < kD10BBlankColumns; ++b) fields.Field() += kBlank;
      d10b.WriteLine(line);
    }
    LineFields fields(line);
    fields.Field() += number;
    fields.Field() += depth;
    fields.Field() += CombinedCode(m1, codes.quality[0], codes.admixture[0]);
    fields.Field() += CombinedCode(m2, codes.quality[1], codes.admixture[1]);
    d10.WriteLine(line);
  });

  d10b.Close();
  d10.Close();
  g10.Close();
}

}  // namespace k2v
