#include <memory>
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

// Every wrapped line of the text is a line of its own with its own number;
// the depth stands on the first only. The text is wrapped as it is read, so
// that a note of any length costs the memory of a line.
void ConvertX12(const ConversionContext& ctx) {
  std::unique_ptr<OutputFile> out;
  long long n = 0;
  std::string depth;
  bool started = false;  // the record's first line is out
  LineWrapper wrapper(kN12Width, [&](const std::string& line) {
    ++n;
    out->WriteLine(JoinFields({Number3(n), started ? std::string("       ") : depth, Quoted(line)}));
    started = true;
    return true;
  });
  ReadOptions options;
  options.streamedField = 3;
  bool depthTaken = false;
  auto takeDepth = [&](const RecordReader& r) {
    if (!depthTaken) depth = Fixed7Number(FieldOf(r, 2));
    depthTaken = true;
  };
  options.onPiece = [&](const RecordReader& r, std::string_view piece) {
    takeDepth(r);
    wrapper.Add(piece);
  };
  ForEachRecord(
      ctx.SourceFolder + "X12.TXT", kX12Fields, ctx.DestinationPath, options,
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

  ConvertX12(ctx);

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
