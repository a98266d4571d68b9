#include "convert/x7_records.hpp"

#include <array>
#include <iterator>
#include <memory>
#include <string>

#include "convert/boring_records.hpp"
#include "convert/table_frame.hpp"
#include "io/output_file.hpp"
#include "io/record_reader.hpp"
#include "platform/files.hpp"
#include "text/columns.hpp"
#include "text/number_format.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

constexpr int kX7FieldCount = 68;
// Fields 9 to 28 hold the code, 49 to 68 the texts.
constexpr int kFirstCodeField = 9;
constexpr int kLastCodeField = 28;
constexpr int kFirstTextField = 49;
constexpr int kLastTextField = 68;
// The code ranges of Kolbrix's X7 codes and what Vantor numbers them, in the
// order they are tested: a code from first to last becomes code + offset, or
// the fixed code when one is given.
struct CodeRange {
  int first;
  int last;
  int offset;
  const char* fixed;
};

constexpr CodeRange kCodeTable[] = {
    {1, 2, 10, nullptr},   {3, 3, 0, "21"},       {4, 4, 0, "24"},       {6, 6, 0, "22"},
    {9, 9, 0, "16"},       {11, 11, 0, "45"},     {12, 12, 0, "10"},     {16, 16, 0, "17"},
    {17, 17, 0, "20"},     {18, 18, 0, "23"},     {19, 23, 6, nullptr},  {24, 28, 16, nullptr},
    {29, 31, 17, nullptr}, {32, 37, 28, nullptr}, {38, 43, 42, nullptr}, {44, 44, 0, "90"},
};

// The trimmed text of the first field from..to (inclusive) that is not blank,
// starting at from; next is set to the field after it (to + 1 when none).
std::string_view FirstNonBlank(const RecordReader& r, int from, int to, int& next) {
  for (int k = from; k <= to; ++k) {
    const std::string_view value = TrimView(FieldOf(r, k));
    if (!value.empty()) {
      next = k + 1;
      return value;
    }
  }
  next = to + 1;
  return {};
}

// A field of the X7 line in its character width, made ready for its byte
// width: a line break takes its column as a space (as in every output line),
// then the spaces at both ends go.
std::string_view ForByteColumns(std::string& field) {
  for (char& c : field) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return TrimView(field);
}

// Kolbrix's code as Vantor's, in place: the code ranges, and a code in none
// of them as it stands.
void ToVantorCode(std::string& code) {
  long long v = 0;
  // A value that is not whole lies in no range.
  if (!AsWholeNumber(NumericValue(code), v)) return;
  for (const CodeRange& range : kCodeTable) {
    if (v >= range.first && v <= range.last) {
      code = range.fixed ? std::string(range.fixed) : std::to_string(v + range.offset);
      return;
    }
  }
}

// The line of N7.txt (Vantor's G50.TXT) in its byte widths: which field each
// column takes, its format and its width.
constexpr int kNumber = 1;
constexpr Column kN7Line[] = {
    {kNumber, ColumnFormat::RightBytes, 3},
    {2, ColumnFormat::LeftBytes, 6},
    {3, ColumnFormat::LeftBytes, 2, ToVantorCode},
    {4, ColumnFormat::RightBytes, 7},
    {5, ColumnFormat::RightBytes, 7},
    {6, ColumnFormat::LeftBytes, 8},
    {7, ColumnFormat::LeftBytes, 8},
};

// X7's record goes into those seven fields first in character widths, the
// same as the byte widths: which field each takes and its format.
constexpr int kCode = LineValues::kWorkedOut;
constexpr int kFirstText = LineValues::kWorkedOut + 1;
constexpr int kSecondText = LineValues::kWorkedOut + 2;
constexpr int kNumberDigits = LineValues::kWorkedOut + 3;
constexpr Column kX7ByCharacters[] = {
    {kNumberDigits, ColumnFormat::Number, kN7Line[0].width},  {2, ColumnFormat::LeftChars, kN7Line[1].width},
    {kCode, ColumnFormat::RightChars, kN7Line[2].width},      {5, ColumnFormat::FixedOrText, kN7Line[3].width},
    {6, ColumnFormat::FixedOrText, kN7Line[4].width},         {kFirstText, ColumnFormat::LeftChars, kN7Line[5].width},
    {kSecondText, ColumnFormat::LeftChars, kN7Line[6].width},
};
static_assert(std::size(kX7ByCharacters) == std::size(kN7Line));

}  // namespace

void RewriteN7(const std::string& folder) {
  const std::string path = ResolveCase(JoinPath(folder, "N7.TXT"));
  if (!FileExists(path)) return;
  const std::string work = JoinPath(folder, "N7_WK.TXT");
  std::unique_ptr<OutputFile> out;
  std::string line;
  const bool hasData = ForEachRecord(
      path, static_cast<int>(std::size(kN7Line)), [&] { out = std::make_unique<OutputFile>(work); },
      [&](const RecordReader& r) {
        LayOutLine(line, kN7Line, 0, r.Fields);
        out->WriteLine(line);
      });
  if (!hasData) return;
  out->Close();
  RenameReplacing(work, path);
}

// Each record is first laid out in character widths, then each field goes
// into its byte width, so that a comma or a quote in a text stays inside its
// own column.
StepResult ConvertX7(const ConversionContext& ctx) {
  std::array<std::string, std::size(kN7Line) + 1> byCharacters;  // reused from record to record
  std::array<std::string_view, std::size(kN7Line) + 1> fields;
  std::string line;
  ConvertTableFile(ctx, "X7.TXT", "N7.txt", kX7FieldCount, [&](const RecordReader& r, OutputFile& out, long long& n) {
    LineValues values(r);
    int next = 0;
    values.Set(kCode, FirstNonBlank(r, kFirstCodeField, kLastCodeField, next));
    values.Set(kFirstText, FirstNonBlank(r, kFirstTextField, kLastTextField, next));
    values.Set(kSecondText, FirstNonBlank(r, next, kLastTextField, next));
    const std::string number = std::to_string(n);
    values.Set(kNumberDigits, number);
    for (size_t k = 1; k < byCharacters.size(); ++k) {
      byCharacters[k].clear();
      AppendColumn(byCharacters[k], kX7ByCharacters[k - 1], values[kX7ByCharacters[k - 1].value]);
      fields[k] = ForByteColumns(byCharacters[k]);
    }
    LayOutLine(line, kN7Line, n, fields);
    out.WriteLine(line);
  });
  return {};
}

}  // namespace k2v
