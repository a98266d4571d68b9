#include <charconv>
#include <memory>
#include <string>

#include "convert/boring_records.hpp"
#include "convert/table_frame.hpp"
#include "platform/files.hpp"
#include "soil/soil_codes.hpp"
#include "text/columns.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

// The D12A code of a name as Vantor's two-column code (the last two
// characters of "00 " and the code); "00" for a name the list does not hold.
void AppendD12ACode(std::string& out, const SoilWordTables& tables, const std::string& name) {
  if (std::optional<std::int16_t> code = D12ACode(tables, name)) {
    char text[16] = {'0', '0', ' '};
    const char* end = std::to_chars(text + 3, text + sizeof text, *code).ptr;
    out.append(end - 2, 2);
    return;
  }
  out += "00";
}

// Fields per record of the N tables' source files.
constexpr int kX4Fields = 5;
constexpr int kX11Fields = 5;
constexpr int kX3Fields = 7;
constexpr int kX12Fields = 3;
constexpr int kX5Fields = 11;

// Vantor's N12 note lines are 30 bytes wide.
constexpr int kN12Width = 30;

void AppendQuoted(std::string& out, const std::string& text) {
  out += '"';
  out += text;
  out += '"';
}

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
  std::string line;
  bool started = false;  // the record's first line is out
  LineWrapper wrapper(kN12Width, [&](const std::string& text) {
    ++n;
    LineFields fields(line);
    AppendNumber3(fields.Field(), n);
    fields.Field() += started ? std::string_view("       ") : std::string_view(depth);
    AppendQuoted(fields.Field(), text);
    out->WriteLine(line);
    started = true;
    return true;
  });
  ReadOptions options;
  options.streamedField = 3;
  bool depthTaken = false;
  auto takeDepth = [&](const RecordReader& r) {
    if (!depthTaken) {
      depth.clear();
      AppendFixed7Number(depth, FieldOf(r, 2));
    }
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
  std::string line;  // each output line is built here, one after the other
  ConvertTableFile(ctx, "X4.TXT", "N4.txt", kX4Fields, [&](const RecordReader& r, OutputFile& out, long long& n) {
    LineFields fields(line);
    AppendNumber3(fields.Field(), n);
    AppendDepthColumn(fields.Field(), FieldOf(r, 2));
    fields.Field() += "   0.00";
    AppendD12ACode(fields.Field(), ctx.SoilTables, FieldOf(r, 5));
    out.WriteLine(line);
  });

  ConvertTableFile(ctx, "X11.TXT", "N11.txt", kX11Fields, [&](const RecordReader& r, OutputFile& out, long long& n) {
    LineFields fields(line);
    AppendNumber3(fields.Field(), n);
    AppendFixed7Number(fields.Field(), FieldOf(r, 2));
    AppendWhole3Number(fields.Field(), FieldOf(r, 3));
    AppendLeftChars(fields.Field(), FieldOf(r, 5), 20);
    out.WriteLine(line);
  });

  ConvertTableFile(ctx, "X3.TXT", "N3.txt", kX3Fields, [&](const RecordReader& r, OutputFile& out, long long& n) {
    LineFields fields(line);
    AppendNumber3(fields.Field(), n);
    AppendDepthColumn(fields.Field(), FieldOf(r, 2));
    AppendLeftChars(fields.Field(), FieldOf(r, 3), 6);
    AppendLeftChars(fields.Field(), FieldOf(r, 5), 6);
    out.WriteLine(line);
  });

  ConvertX12(ctx);

  bool hasX5 = ConvertTableFile(ctx, "X5.TXT", "N5.txt", kX5Fields, [&](const RecordReader& r, OutputFile& out, long long& n) {
    LineFields fields(line);
    AppendNumber3(fields.Field(), n);
    AppendDepthColumn(fields.Field(), FieldOf(r, 2));
    for (int k : {3, 5, 6, 7, 8, 9, 10, 11}) AppendTrimRightColumn(fields.Field(), FieldOf(r, k), 3);
    out.WriteLine(line);
  });
  if (hasX5) {
    RenameHeader(ctx, "X5.hed", "N5.hed");
    RenameHeader(ctx, "X5.hd2", "N5.hd2");
  }
}

}  // namespace k2v
