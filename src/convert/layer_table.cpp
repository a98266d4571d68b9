#include "convert/layer_table.hpp"

#include "convert/boring_records.hpp"
#include "io/output_file.hpp"
#include "io/record_reader.hpp"
#include "platform/files.hpp"
#include "soil/soil_codes.hpp"
#include "text/columns.hpp"
#include "text/number_format.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// X1.TXT: number, depth, (not used), soil description.
constexpr int kX1Fields = 4;
constexpr int kDepth = 2;

// The values of a layer's lines (after the line number and the depth): the
// codes of its first and second component.
constexpr int kMain1 = 3;
constexpr int kMain2 = 4;
constexpr int kQuality1 = 5;
constexpr int kQuality2 = 6;
constexpr int kAdmixture1 = 7;
constexpr int kAdmixture2 = 8;
constexpr int kCombined1 = 9;
constexpr int kCombined2 = 10;
constexpr int kBlank = 11;  // no value: the column is left blank
constexpr int kValueCount = 12;

// The lines of the layer table: which value each column takes, its format
// and its width.
constexpr Column kG10Line[] = {
    {kLineNumber, ColumnFormat::Number, 3},
    {kDepth, ColumnFormat::RightChars, 7},
    {kMain1, ColumnFormat::AsIs},
    {kMain2, ColumnFormat::AsIs},
};
// D10B.txt has six of these before the codes and six after them.
constexpr Column kBlankPair = {kBlank, ColumnFormat::RightChars, 2};
constexpr Column kD10BLine[] = {
    {kLineNumber, ColumnFormat::Number, 3},
    {kDepth, ColumnFormat::RightChars, 7},
    kBlankPair,
    kBlankPair,
    kBlankPair,
    kBlankPair,
    kBlankPair,
    kBlankPair,
    {kAdmixture1, ColumnFormat::RightChars, 1},  // its units digit
    {kQuality1, ColumnFormat::RightChars, 2},
    {kMain1, ColumnFormat::AsIs},
    {kAdmixture2, ColumnFormat::RightChars, 1},
    {kQuality2, ColumnFormat::RightChars, 2},
    {kMain2, ColumnFormat::AsIs},
    kBlankPair,
    kBlankPair,
    kBlankPair,
    kBlankPair,
    kBlankPair,
    kBlankPair,
};
constexpr Column kD10Line[] = {
    {kLineNumber, ColumnFormat::Number, 3},
    {kDepth, ColumnFormat::RightChars, 7},
    {kCombined1, ColumnFormat::RightChars, 3},
    {kCombined2, ColumnFormat::RightChars, 3},
};

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
// added (300 with 10 and 3 gives 313), with zeros in front.
std::string CombinedCode(const std::string& mainText, int quality, int admixture) {
  long long value = ValueOf(mainText);
  if (value % 100 != 0) return mainText;
  return "000" + std::to_string(value + admixture + quality);
}

}  // namespace

std::string MainCodeText(int code) {
  std::string text;
  AppendRightChars(text, code == -1 ? std::string() : "000" + std::to_string(code), 3);
  return text;
}

StepResult ConvertLayerTable(const ConversionContext& ctx) {
  StepResult result;
  OutputFile d10b(JoinPath(ctx.DestinationPath, "D10B.txt"));
  OutputFile d10(JoinPath(ctx.DestinationPath, "D10.txt"));
  OutputFile g10(JoinPath(ctx.DestinationPath, "G10.txt"));

  long long dLine = 0;
  long long gLine = 0;
  std::array<std::string, kValueCount> texts;  // reused from layer to layer
  std::array<std::string_view, kValueCount> values;
  std::string line;  // each output line is built here, one after the other
  ForEachRecord(JoinPath(ctx.SourceFolder, "X1.TXT"), kX1Fields, [&](const RecordReader& reader) {
    const LayerParts parts = SplitLayerDescription(reader.Fields[4]);
    const LayerCodes codes = ClassifyLayer(ctx.SoilTables, parts);
    ++result.LayerCount;
    // A part whose main soil name found no code, whatever its quality and
    // admixture words got; an empty part of alternating layers (互層
    // written without と or の) stands under the description as written.
    bool uncoded = false;
    for (size_t k = 0; k < 2 && static_cast<int>(k) < parts.count; ++k) {
      if (codes.main[k] != -1) continue;
      // A layer counts once for a name, also when both parts are that name.
      if (k == 0 || !uncoded || parts.texts[1] != parts.texts[0]) {
        result.CountUncodedName(parts.texts[k].empty() ? reader.Fields[4] : parts.texts[k], codes.lookedUp[k]);
      }
      if (!uncoded) ++result.UncodedLayers;
      uncoded = true;
    }
    values[kDepth] = reader.Fields[kDepth];
    for (size_t k = 0; k < 2; ++k) {
      texts[kMain1 + k] = MainCodeText(codes.main[k]);
      texts[kQuality1 + k] = SignedDigits(codes.quality[k]);
      texts[kAdmixture1 + k] = SignedDigits(codes.admixture[k]);
      texts[kCombined1 + k] = CombinedCode(texts[kMain1 + k], codes.quality[k], codes.admixture[k]);
    }
    for (int k = kMain1; k <= kCombined2; ++k) values[static_cast<size_t>(k)] = texts[static_cast<size_t>(k)];

    // Main codes from 100 on that are not whole hundreds (150, 210) are G10.txt layers.
    const long long v = ValueOf(texts[kMain1]);
    if (v >= 100 && v % 100 != 0) {
      LayOutLine(line, kG10Line, ++gLine, values);
      g10.WriteLine(line);
      return;
    }
    LayOutLine(line, kD10BLine, ++dLine, values);
    d10b.WriteLine(line);
    LayOutLine(line, kD10Line, dLine, values);
    d10.WriteLine(line);
  });

  d10b.Close();
  d10.Close();
  g10.Close();
  return result;
}

}  // namespace k2v
