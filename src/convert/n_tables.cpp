#include <string>

#include "convert/boring_records.hpp"
#include "convert/table_frame.hpp"
#include "platform/files.hpp"
#include "text/columns.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

// The D12A code of a name as Vantor's two-column code; "00" for a name the
// list does not hold.
std::string D12ACode(const std::vector<SoilWord>& table, const std::string& name) {
  for (const SoilWord& entry : table) {
    if (entry.word == name) return RightCharsOf("00 " + std::to_string(entry.code), 2);
  }
  return "00";
}

// Fields per record of the N tables' source files.
constexpr int kX4Fields = 5;
constexpr int kX11Fields = 5;
constexpr int kX3Fields = 7;
constexpr int kX12Fields = 3;
constexpr int kX5Fields = 11;

// Vantor's N12 note lines are 30 bytes wide.
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
  ConvertTableFile(ctx, "X4.TXT", "N4.txt", kX4Fields, [&ctx](const RecordReader& r, OutputFile& out, long long& n) {
    out.WriteLine(JoinFields({Number3(n), DepthField(r), "   0.00", D12ACode(ctx.SoilTables.D12ACodeTable, FieldOf(r, 5))}));
  });

  ConvertTableFile(ctx, "X11.TXT", "N11.txt", kX11Fields, [](const RecordReader& r, OutputFile& out, long long& n) {
    out.WriteLine(JoinFields({Number3(n), Fixed7Number(FieldOf(r, 2)), Whole3Number(FieldOf(r, 3)), LeftChars(FieldOf(r, 5), 20)}));
  });

  ConvertTableFile(ctx, "X3.TXT", "N3.txt", kX3Fields, [](const RecordReader& r, OutputFile& out, long long& n) {
    out.WriteLine(JoinFields({Number3(n), DepthField(r), LeftChars(FieldOf(r, 3), 6), LeftChars(FieldOf(r, 5), 6)}));
  });

  // Every wrapped line of the text is a line of its own with its own number;
  // the depth stands on the first only.
  ConvertTableFile(ctx, "X12.TXT", "N12.txt", kX12Fields, [](const RecordReader& r, OutputFile& out, long long& n) {
    std::vector<std::string> lines = WrapToWidth(FieldOf(r, 3), kN12Width);
    out.WriteLine(JoinFields({Number3(n), Fixed7Number(FieldOf(r, 2)), Quoted(lines.front())}));
    for (size_t k = 1; k < lines.size(); ++k) {
      ++n;
      out.WriteLine(JoinFields({Number3(n), "       ", Quoted(lines[k])}));
    }
  });

  bool hasX5 = ConvertTableFile(ctx, "X5.TXT", "N5.txt", kX5Fields, [](const RecordReader& r, OutputFile& out, long long& n) {
    out.WriteLine(JoinFields({Number3(n), DepthField(r), TrimRightColumn(FieldOf(r, 3), 3), TrimRightColumn(FieldOf(r, 5), 3),
                              TrimRightColumn(FieldOf(r, 6), 3), TrimRightColumn(FieldOf(r, 7), 3), TrimRightColumn(FieldOf(r, 8), 3),
                              TrimRightColumn(FieldOf(r, 9), 3), TrimRightColumn(FieldOf(r, 10), 3), TrimRightColumn(FieldOf(r, 11), 3)}));
  });
  if (hasX5) {
    RenameHeader(ctx, "X5.hed", "N5.hed");
    RenameHeader(ctx, "X5.hd2", "N5.hd2");
  }
}

}  // namespace k2v
