#include <array>
#include <charconv>
#include <memory>
#include <optional>
#include <string>

#include "convert/boring_records.hpp"
#include "convert/table_frame.hpp"
#include "platform/files.hpp"
#include "soil/soil_codes.hpp"
#include "text/columns.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

// The D12A code of a name as Kolbrix gives it to Vantor's code column: "00 "
// and the code, whose last characters the column takes; "00" for a name the
// list does not hold.
std::string_view D12ACodeText(char (&text)[16], const SoilWordTables& tables, const std::string& name) {
  const std::optional<std::int16_t> code = D12ACode(tables, name);
  if (!code) return "00";
  text[0] = '0';
  text[1] = '0';
  text[2] = ' ';
  const char* end = std::to_chars(text + 3, text + sizeof text, *code).ptr;
  return std::string_view(text, static_cast<size_t>(end - text));
}

// Fields per record of the N tables' source files.
constexpr int kX4Fields = 5;
constexpr int kX11Fields = 5;
constexpr int kX3Fields = 7;
constexpr int kX12Fields = 3;
constexpr int kX5Fields = 11;

// The lines of the N tables: which field each column takes, its format and
// its width.
constexpr int kD12ACode = LineValues::kWorkedOut;
constexpr int kSecondDepth = LineValues::kWorkedOut + 1;  // Kolbrix has none: 0
constexpr Column kN4Line[] = {
    {kLineNumber, ColumnFormat::Number, 3},
    {2, ColumnFormat::RightChars, 7},
    {kSecondDepth, ColumnFormat::FixedNumber, 7},
    {kD12ACode, ColumnFormat::RightChars, 2},
};
constexpr Column kN11Line[] = {
    {kLineNumber, ColumnFormat::Number, 3},
    {2, ColumnFormat::FixedNumber, 7},
    {3, ColumnFormat::WholeNumber, 3},
    {5, ColumnFormat::LeftChars, 20},
};
constexpr Column kN3Line[] = {
    {kLineNumber, ColumnFormat::Number, 3},
    {2, ColumnFormat::RightChars, 7},
    {3, ColumnFormat::LeftChars, 6},
    {5, ColumnFormat::LeftChars, 6},
};
// The note is wrapped into lines of kN12Width bytes, each a line of its own;
// the depth stands on the first only.
constexpr int kN12Width = 30;
constexpr int kNotePart = 3;
constexpr Column kN12Line[] = {
    {kLineNumber, ColumnFormat::Number, 3},
    {2, ColumnFormat::FixedNumber, 7},
    {kNotePart, ColumnFormat::Quoted},
};
constexpr Column kN5Line[] = {
    {kLineNumber, ColumnFormat::Number, 3}, {2, ColumnFormat::RightChars, 7},     {3, ColumnFormat::TrimRightChars, 3},
    {5, ColumnFormat::TrimRightChars, 3},   {6, ColumnFormat::TrimRightChars, 3}, {7, ColumnFormat::TrimRightChars, 3},
    {8, ColumnFormat::TrimRightChars, 3},   {9, ColumnFormat::TrimRightChars, 3}, {10, ColumnFormat::TrimRightChars, 3},
    {11, ColumnFormat::TrimRightChars, 3},
};

// Copies a header file of the destination folder to its N name and removes
// the X file; a missing or empty header is left alone.
void RenameHeader(const ConversionContext& ctx, const std::string& from, const std::string& to) {
  const std::string fromPath = JoinPath(ctx.DestinationPath, from);
  if (FileSize(fromPath) <= 0) return;
  CopyFileReplacing(fromPath, JoinPath(ctx.DestinationPath, to));
  DeleteFileIfExists(fromPath);
}

// Every wrapped line of the note is a line of its own with its own number.
// The note is wrapped as it is read, so that a note of any length costs the
// memory of a line.
void ConvertX12(const ConversionContext& ctx) {
  std::unique_ptr<OutputFile> out;
  long long n = 0;
  std::array<std::string_view, kNotePart + 1> values;
  std::string line;
  bool started = false;  // the record's first line is out
  LineWrapper wrapper(kN12Width, [&](const std::string& text) {
    // The lines after the first leave the depth blank.
    if (started) values[2] = std::string_view();
    values[kNotePart] = text;
    LayOutLine(line, kN12Line, ++n, values);
    out->WriteLine(line);
    started = true;
    return true;
  });
  ReadOptions options;
  options.streamedField = kNotePart;
  std::string depth;
  bool depthTaken = false;
  auto takeDepth = [&](const RecordReader& r) {
    if (!depthTaken) {
      depth = FieldOf(r, 2);
      values[2] = depth;
    }
    depthTaken = true;
  };
  options.onPiece = [&](const RecordReader& r, std::string_view piece) {
    takeDepth(r);
    wrapper.Add(piece);
  };
  ForEachRecord(
      JoinPath(ctx.SourceFolder, "X12.TXT"), kX12Fields, options,
      [&] { out = std::make_unique<OutputFile>(JoinPath(ctx.DestinationPath, "N12.txt")); },
      [&](const RecordReader& r) {
        takeDepth(r);
        wrapper.Finish();
        started = false;
        depthTaken = false;
      });
  if (out) out->Close();
}

}  // namespace

StepResult ConvertNTables(const ConversionContext& ctx) {
  std::string line;  // reused from record to record
  ConvertTableFile(ctx, "X4.TXT", "N4.txt", kX4Fields, [&](const RecordReader& r, OutputFile& out, long long& n) {
    LineValues values(r);
    char code[16];
    values.Set(kD12ACode, D12ACodeText(code, ctx.SoilTables, FieldOf(r, 5)));
    values.Set(kSecondDepth, "0");
    LayOutLine(line, kN4Line, n, values);
    out.WriteLine(line);
  });
  ConvertTableFile(ctx, "X11.TXT", "N11.txt", kX11Fields, kN11Line);
  ConvertTableFile(ctx, "X3.TXT", "N3.txt", kX3Fields, kN3Line);
  ConvertX12(ctx);
  if (ConvertTableFile(ctx, "X5.TXT", "N5.txt", kX5Fields, kN5Line)) {
    RenameHeader(ctx, "X5.hed", "N5.hed");
    RenameHeader(ctx, "X5.hd2", "N5.hd2");
  }
  return {};
}

}  // namespace k2v
