#include <string>

#include "convert/boring_records.hpp"
#include "convert/table_frame.hpp"
#include "platform/files.hpp"
#include "text/number_format.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

// Vantor reads these depths as numbers in seven columns: the numeric value of
// the text (the number it begins with, 0 when there is none) with two decimals.
std::string Fixed7(const std::string& text) { return RightChars(FormatNumber(text, NumberPattern::Fixed2), 7); }

// A count in three columns: the numeric value rounded to a whole number; 0
// leaves the columns blank.
std::string Whole3(const std::string& text) { return RightChars(FormatNumber(text, NumberPattern::WholeOrEmpty), 3); }

std::string TrimRight3(const std::string& text) { return RightChars(TrimRight(text), 3); }

// The D12A code of a name as Vantor's two-column code; "00" for a name the
// list does not hold.
std::string D12ACode(const std::vector<SoilWord>& table, const std::string& name) {
  for (const SoilWord& entry : table) {
    if (entry.word == name) return RightCharsOf("00 " + std::to_string(entry.code), 2);
  }
  return "00";
}

constexpr int kN12Width = 30;

std::string Quoted(const std::string& line) { return "\"" + line + "\""; }

// Copies a header file of the destination folder to its N name and removes
// the X file; a missing or empty header is left alone.
void RenameHeader(const ConversionContext& ctx, const std::string& from, const std::string& to) {
  const std::string fromPath = JoinPath(ctx.DestinationPath, from);
  if (FileSize(fromPath) <= 0) return;
  CopyFileReplacing(fromPath, JoinPath(ctx.DestinationPath, to));
  DeleteFileIfExists(fromPath);
}

}  // namespace

void ConvertNTables(ConversionContext& ctx) {
  ConvertTableFile(ctx, "X4.TXT", "N4.txt", 5, [&ctx](const RecordReader& r, OutputFile& out, long long& n) {
    out.WriteLine(JoinFields({Number3(n), DepthField(r), "   0.00", D12ACode(ctx.SoilTables.D12ACodeTable, FieldOf(r, 5))}));
  });

  ConvertTableFile(ctx, "X11.TXT", "N11.txt", 5, [](const RecordReader& r, OutputFile& out, long long& n) {
    out.WriteLine(JoinFields({Number3(n), Fixed7(FieldOf(r, 2)), Whole3(FieldOf(r, 3)), LeftChars(FieldOf(r, 5), 20)}));
  });

  ConvertTableFile(ctx, "X3.TXT", "N3.txt", 7, [](const RecordReader& r, OutputFile& out, long long& n) {
    out.WriteLine(JoinFields({Number3(n), DepthField(r), LeftChars(FieldOf(r, 3), 6), LeftChars(FieldOf(r, 5), 6)}));
  });

  // Every wrapped line of the text is a line of its own with its own number;
  // the depth stands on the first only.
  ConvertTableFile(ctx, "X12.TXT", "N12.txt", 3, [](const RecordReader& r, OutputFile& out, long long& n) {
    std::vector<std::string> lines = WrapToWidth(FieldOf(r, 3), kN12Width);
    out.WriteLine(JoinFields({Number3(n), Fixed7(FieldOf(r, 2)), Quoted(lines.front())}));
    for (size_t k = 1; k < lines.size(); ++k) {
      ++n;
      out.WriteLine(JoinFields({Number3(n), "       ", Quoted(lines[k])}));
    }
  });

  bool hasX5 = ConvertTableFile(ctx, "X5.TXT", "N5.txt", 11, [](const RecordReader& r, OutputFile& out, long long& n) {
    out.WriteLine(JoinFields({Number3(n), DepthField(r), TrimRight3(FieldOf(r, 3)), TrimRight3(FieldOf(r, 5)),
                              TrimRight3(FieldOf(r, 6)), TrimRight3(FieldOf(r, 7)), TrimRight3(FieldOf(r, 8)),
                              TrimRight3(FieldOf(r, 9)), TrimRight3(FieldOf(r, 10)), TrimRight3(FieldOf(r, 11))}));
  });
  if (hasX5) {
    RenameHeader(ctx, "X5.hed", "N5.hed");
    RenameHeader(ctx, "X5.hd2", "N5.hd2");
  }
}

}  // namespace k2v
