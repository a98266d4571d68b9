#include "titles/title_writer.hpp"

#include <algorithm>
#include <string>

#include "io/output_file.hpp"
#include "platform/files.hpp"
#include "text/columns.hpp"
#include "text/number_format.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// How a line of a title sheet is made from its cell.
enum class Content {
  Wrap,      // line k of the text wrapped at w bytes, padded to w
  AsStored,  // the text unchanged
  Number,    // two decimals right-aligned in w characters (0.00 for a text)
  Text,      // the text right-aligned in w characters
  Blank,     // w spaces, whatever the table holds
};

struct SheetLine {
  Content content;
  size_t row;
  size_t column;
  int width;
  int k;  // the wrapped line, for Wrap
};

constexpr SheetLine Wrap(size_t row, size_t column, int width, int k = 1) {
  return {Content::Wrap, row, column, width, k};
}
constexpr SheetLine Stored(size_t row, size_t column) { return {Content::AsStored, row, column, 0, 0}; }
constexpr SheetLine Number(size_t row, size_t column, int width) { return {Content::Number, row, column, width, 0}; }
constexpr SheetLine Text(size_t row, size_t column, int width) { return {Content::Text, row, column, width, 0}; }
constexpr SheetLine Blank(int width) { return {Content::Blank, 0, 0, width, 0}; }

// Titl1.txt, line by line: where Vantor reads each title value.
constexpr SheetLine kTitl1[] = {
    Wrap(1, 1, 60, 1),  Wrap(1, 1, 60, 2), Wrap(1, 3, 20),  Wrap(1, 2, 60),   Wrap(2, 1, 16),  Wrap(1, 10, 30, 1),
    Wrap(1, 10, 30, 2), Blank(5),          Stored(1, 4),    Stored(1, 5),     Stored(1, 6),    Stored(1, 7),
    Stored(1, 8),       Stored(1, 9),      Stored(2, 17),   Number(2, 19, 8), Stored(2, 21),   Number(2, 23, 8),
    Wrap(1, 21, 16),    Wrap(1, 22, 16),   Wrap(2, 16, 16), Wrap(2, 15, 16),  Wrap(2, 28, 24), Wrap(2, 29, 24),
    Wrap(2, 30, 24),    Stored(2, 31),
};

// Titl2.txt, line by line.
constexpr SheetLine kTitl2[] = {
    Wrap(1, 17, 50, 1), Wrap(1, 17, 50, 2), Wrap(1, 18, 40),  Text(1, 19, 12),  Text(1, 11, 3),
    Text(1, 12, 3),     Text(1, 13, 5),     Text(1, 14, 3),   Text(1, 15, 3),   Text(1, 16, 5),
    Number(2, 20, 8),   Number(2, 25, 7),   Number(2, 26, 7), Number(2, 27, 7),
};

std::string SheetText(const TitleTable& table, const SheetLine& line) {
  const std::string& cell = table[line.row][line.column];
  switch (line.content) {
    case Content::Wrap: return WrappedLine(cell, line.width, line.k);
    case Content::AsStored: return cell;
    case Content::Number: return ColumnText(Column{0, ColumnFormat::FixedNumber, line.width}, cell);
    case Content::Text: return ColumnText(Column{0, ColumnFormat::RightChars, line.width}, cell);
    case Content::Blank: break;
  }
  return ColumnText(Column{0, ColumnFormat::RightChars, line.width}, std::string_view());
}

template <size_t N>
void WriteSheet(const std::string& path, const TitleTable& table, const SheetLine (&layout)[N]) {
  OutputFile out(path);
  for (const SheetLine& line : layout) out.WriteLine(SheetText(table, line));
  out.Close();
}

// Room for the spaces a cell's text may stand after (they are trimmed).
constexpr size_t kLeadingRoom = 1024;
// A number of any sensible length, with its spaces.
constexpr size_t kNumberRoom = 4096;

template <size_t N>
void KeepFor(const SheetLine (&layout)[N], size_t row, size_t column, size_t& keep) {
  for (const SheetLine& line : layout) {
    if (line.content == Content::Blank || line.row != row || line.column != column) continue;
    size_t need = std::string::npos;
    if (line.content == Content::Wrap)
      need = static_cast<size_t>(line.width) * static_cast<size_t>(line.k) + kLeadingRoom;
    if (line.content == Content::Number) need = kNumberRoom;
    keep = keep == 0 ? need : std::max(keep, need);
  }
}

}  // namespace

size_t TitleCellKeepBytes(size_t row, size_t column) {
  size_t keep = 0;
  KeepFor(kTitl1, row, column, keep);
  KeepFor(kTitl2, row, column, keep);
  return keep;
}

void WriteTitleSheets(const std::string& destinationFolder, const TitleTable& table) {
  WriteSheet(JoinPath(destinationFolder, "Titl1.txt"), table, kTitl1);
  WriteSheet(JoinPath(destinationFolder, "Titl2.txt"), table, kTitl2);
}

}  // namespace k2v
