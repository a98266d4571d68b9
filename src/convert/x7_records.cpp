#include "convert/x7_records.hpp"

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
// The widths of the seven fields as laid out in characters.
constexpr int kIdentifierChars = 6;
constexpr int kCodeChars = 2;
constexpr int kTextChars = 8;

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
    {1, 2, 10, nullptr},  {3, 3, 0, "21"},       {4, 4, 0, "24"},       {6, 6, 0, "22"},
    {9, 9, 0, "16"},      {11, 11, 0, "45"},     {12, 12, 0, "10"},     {16, 16, 0, "17"},
    {17, 17, 0, "20"},    {18, 18, 0, "23"},     {19, 23, 6, nullptr},  {24, 28, 16, nullptr},
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

void AppendVantorN7Code(std::string& out, std::string_view kolbrixCode) {
  const std::string raw = FixLeftBytes(kolbrixCode, 2);
  long long v = 0;
  // The raw code is two bytes, so a value that is not whole lies in no range.
  if (AsWholeNumber(NumericValue(raw), v)) {
    for (const CodeRange& range : kCodeTable) {
      if (v >= range.first && v <= range.last) {
        if (range.fixed) {
          out += range.fixed;
        } else {
          out += std::to_string(v + range.offset);
        }
        return;
      }
    }
  }
  out += raw;
}

// Fields 1 to 7 (element 0 unused) in their byte widths, joined by commas.
void AppendN7Line(std::string& line, const std::array<std::string_view, 8>& f) {
  LineFields fields(line);
  AppendFixRightBytes(fields.Field(), TrimView(f[1]), 3);
  AppendFixLeftBytes(fields.Field(), f[2], 6);
  AppendVantorN7Code(fields.Field(), f[3]);
  AppendFixRightBytes(fields.Field(), TrimView(f[4]), 7);
  AppendFixRightBytes(fields.Field(), TrimView(f[5]), 7);
  AppendFixLeftBytes(fields.Field(), f[6], 8);
  AppendFixLeftBytes(fields.Field(), f[7], 8);
}

}  // namespace

std::string VantorN7Code(const std::string& kolbrixCode) {
  std::string code;
  AppendVantorN7Code(code, kolbrixCode);
  return code;
}

std::string N7Line(const std::array<std::string, 8>& f) {
  std::array<std::string_view, 8> views;
  for (size_t k = 0; k < f.size(); ++k) views[k] = f[k];
  std::string line;
  AppendN7Line(line, views);
  return line;
}

void RewriteN7(const std::string& folder) {
  const std::string path = ResolveCase(JoinPath(folder, "N7.TXT"));
  if (!FileExists(path)) return;
  const std::string work = JoinPath(folder, "N7_WK.TXT");
  std::unique_ptr<OutputFile> out;
  std::string line;
  const bool hasData = ForEachRecord(
      path, 7, folder, [&] { out = std::make_unique<OutputFile>(work); },
      [&](const RecordReader& r) {
        std::array<std::string_view, 8> fields;
        for (size_t k = 1; k < fields.size(); ++k) fields[k] = r.Fields[k];
        AppendN7Line(line, fields);
        out->WriteLine(line);
      });
  if (!hasData) return;
  out->Close();
  RenameReplacing(work, path);
}

// Each record is first laid out in character widths (3, 6, 2, 7, 7, 8, 8),
// then each field goes into its byte width, so that a comma or a quote in a
// text stays inside its own column.
void ConvertX7(ConversionContext& ctx) {
  std::array<std::string, 8> byCharacters;  // reused from record to record
  std::string line;
  ConvertTableFile(ctx, "X7.TXT", "N7.txt", kX7FieldCount, [&](const RecordReader& r, OutputFile& out, long long& n) {
    int next = 0;
    const std::string_view code = FirstNonBlank(r, kFirstCodeField, kLastCodeField, next);
    const std::string_view firstText = FirstNonBlank(r, kFirstTextField, kLastTextField, next);
    const std::string_view secondText = FirstNonBlank(r, next, kLastTextField, next);
    for (std::string& field : byCharacters) field.clear();
    AppendNumber3(byCharacters[1], n);
    AppendLeftChars(byCharacters[2], FieldOf(r, 2), kIdentifierChars);
    AppendRightChars(byCharacters[3], code, kCodeChars);
    AppendFixed7OrText(byCharacters[4], FieldOf(r, 5));
    AppendFixed7OrText(byCharacters[5], FieldOf(r, 6));
    AppendLeftChars(byCharacters[6], firstText, kTextChars);
    AppendLeftChars(byCharacters[7], secondText, kTextChars);
    std::array<std::string_view, 8> fields;
    for (size_t k = 1; k < fields.size(); ++k) fields[k] = ForByteColumns(byCharacters[k]);
    AppendN7Line(line, fields);
    out.WriteLine(line);
  });
}

}  // namespace k2v
