#pragma once
// The columns of Vantor's fixed-column files. Each output file declares its
// line once, as a table of columns: the value each column takes, its format
// and its width. One writer lays a line out with its table.

#include <charconv>
#include <span>
#include <string>
#include <string_view>

namespace k2v {

// How a value is put into its column. Widths count characters unless the
// format says bytes (of the CP932 form).
enum class ColumnFormat {
  // The line's running number (its digits): a space and the digits, their
  // last width characters (from 1000 on only the last three digits in three
  // columns).
  Number,
  // The value, then spaces: its first width characters.
  LeftChars,
  // The value's first width characters, without spaces after a shorter one.
  FirstChars,
  // Spaces, then the value: its last width characters.
  RightChars,
  // RightChars of the value without its trailing spaces.
  TrimRightChars,
  // RightChars of the value without its leading spaces.
  TrimLeftChars,
  // The value, then spaces: its first width bytes.
  LeftBytes,
  // Spaces, then the value without the spaces at both ends: its last width bytes.
  RightBytes,
  // The numeric value: two decimals of the number the text begins with (0
  // when it begins with none), right-aligned.
  FixedNumber,
  // Two decimals when the text is a number, otherwise the text itself,
  // right-aligned.
  FixedOrText,
  // The numeric value rounded to a whole number, right-aligned; 0 leaves the
  // column blank.
  WholeNumber,
  // The whole number when the text is a number, otherwise the text itself,
  // right-aligned.
  WholeOrText,
  // At least two digits of the whole number when the text is a number,
  // otherwise the text itself; no width.
  TwoDigitsOrText,
  // The value between double quotes; no width.
  Quoted,
  // The value unchanged; no width.
  AsIs,
};

struct Column {
  // The value the column takes: a field number of the line's values;
  // kLineNumber for the line's running number.
  int value;
  ColumnFormat format;
  int width = 0;
  // A rewrite of the column once laid out (a code table), or none.
  void (*then)(std::string& column) = nullptr;
};

// The value a Number column takes.
inline constexpr int kLineNumber = 0;

// Appends the value in the column's format and width. A value that is absent
// (a view of no text, not an empty text) leaves the column blank: width spaces.
void AppendColumn(std::string& out, const Column& column, std::string_view value);
// The same column on its own: a line that is one column (a title sheet's).
std::string ColumnText(const Column& column, std::string_view value);

// Lays out one line into line (cleared first): each column of the table in
// turn, separated by single commas. values[k] is the value of field k;
// number is the line's running number.
template <class Values>
void LayOutLine(std::string& line, std::span<const Column> columns, long long number, const Values& values) {
  char digits[24];
  const std::string_view numberText(
      digits, static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, number).ptr - digits));
  line.clear();
  bool first = true;
  for (const Column& column : columns) {
    if (!first) line += ',';
    first = false;
    AppendColumn(line, column, column.value == kLineNumber ? numberText : std::string_view(values[column.value]));
  }
}

// The last n characters: spaces in front of the text, its last n characters.
// (The RightChars format on its own, for texts that are not a column of a
// table.)
void AppendRightChars(std::string& out, std::string_view text, int n);

}  // namespace k2v
