#include "titles/title_writer.hpp"

#include <string>

#include "text/number_format.hpp"
#include "io/output_file.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// Line k of the cell's text wrapped at width bytes, each line padded to the width.
std::string Wrap(const TitleTable& t, size_t row, size_t column, int width, int k) {
  return WrappedLine(t[row][column], width, k);
}

// The cell's number with two decimals, right-aligned in n characters; a longer
// number loses its leftmost characters.
std::string Number(const TitleTable& t, size_t row, size_t column, int n) {
  return RightChars(FormatNumber(t[row][column], NumberPattern::Fixed2), n);
}

// The cell's text right-aligned in n characters (not bytes).
std::string Text(const TitleTable& t, size_t row, size_t column, int n) { return RightChars(t[row][column], n); }

void WriteTitl1(const std::string& path, const TitleTable& t) {
  OutputFile out(path);
  out.WriteLine(Wrap(t, 1, 1, 60, 1));
  out.WriteLine(Wrap(t, 1, 1, 60, 2));
  out.WriteLine(Wrap(t, 1, 3, 20, 1));
  out.WriteLine(Wrap(t, 1, 2, 60, 1));
  out.WriteLine(Wrap(t, 2, 1, 16, 1));
  out.WriteLine(Wrap(t, 1, 10, 30, 1));
  out.WriteLine(Wrap(t, 1, 10, 30, 2));
  // Vantor keeps line 8 as five blank columns.
  out.WriteLine("     ");
  for (size_t column = 4; column <= 9; ++column) out.WriteLine(t[1][column]);
  out.WriteLine(t[2][17]);
  out.WriteLine(Number(t, 2, 19, 8));
  out.WriteLine(t[2][21]);
  out.WriteLine(Number(t, 2, 23, 8));
  out.WriteLine(Wrap(t, 1, 21, 16, 1));
  out.WriteLine(Wrap(t, 1, 22, 16, 1));
  out.WriteLine(Wrap(t, 2, 16, 16, 1));
  out.WriteLine(Wrap(t, 2, 15, 16, 1));
  out.WriteLine(Wrap(t, 2, 28, 24, 1));
  out.WriteLine(Wrap(t, 2, 29, 24, 1));
  out.WriteLine(Wrap(t, 2, 30, 24, 1));
  out.WriteLine(t[2][31]);
  out.Close();
}

void WriteTitl2(const std::string& path, const TitleTable& t) {
  OutputFile out(path);
  out.WriteLine(Wrap(t, 1, 17, 50, 1));
  out.WriteLine(Wrap(t, 1, 17, 50, 2));
  out.WriteLine(Wrap(t, 1, 18, 40, 1));
  out.WriteLine(Text(t, 1, 19, 12));
  out.WriteLine(Text(t, 1, 11, 3));
  out.WriteLine(Text(t, 1, 12, 3));
  out.WriteLine(Text(t, 1, 13, 5));
  out.WriteLine(Text(t, 1, 14, 3));
  out.WriteLine(Text(t, 1, 15, 3));
  out.WriteLine(Text(t, 1, 16, 5));
  out.WriteLine(Number(t, 2, 20, 8));
  out.WriteLine(Number(t, 2, 25, 7));
  out.WriteLine(Number(t, 2, 26, 7));
  out.WriteLine(Number(t, 2, 27, 7));
  out.Close();
}

}  // namespace

void WriteTitleSheets(const std::string& destinationFolder, const TitleTable& table) {
  WriteTitl1(destinationFolder + "Titl1.txt", table);
  WriteTitl2(destinationFolder + "Titl2.txt", table);
}

}  // namespace k2v
