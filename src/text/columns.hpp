#pragma once
// The columns of Vantor's fixed-column files: how each field is aligned, cut
// and padded, in characters or in CP932 bytes, and how numbers are written
// into them. Every converter takes its columns from here. Each format is
// appended to a line being built (AppendX), so that a line is made in one
// text reused from line to line; X(...) gives the column on its own.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace k2v {

// Left n: the text with n spaces appended, its first n characters.
void AppendLeftChars(std::string& out, std::string_view text, int n);
std::string LeftChars(std::string_view text, int n);
// Right n: n spaces in front of the text, its last n characters.
void AppendRightChars(std::string& out, std::string_view text, int n);
std::string RightChars(std::string_view text, int n);
// Left-aligned in w bytes: the value followed by spaces, its first w bytes.
void AppendFixLeftBytes(std::string& out, std::string_view text, int w);
std::string FixLeftBytes(std::string_view text, int w);
// Right-aligned in w bytes: spaces followed by the value, its last w bytes.
void AppendFixRightBytes(std::string& out, std::string_view text, int w);
std::string FixRightBytes(std::string_view text, int w);

// Number 3: a running number right-aligned in three columns; from 1000 on
// only the last three digits.
void AppendNumber3(std::string& out, long long n);
std::string Number3(long long n);
// Depth: the depth as read, right-aligned in seven columns (not re-formatted).
void AppendDepthColumn(std::string& out, std::string_view text);
std::string DepthColumn(std::string_view text);

// Seven columns of two decimals of the number the text begins with (0 when
// it begins with none): the depths of the N tables.
void AppendFixed7Number(std::string& out, std::string_view text);
std::string Fixed7Number(std::string_view text);
// Seven columns of two decimals when the text is a number, else the text
// itself: the X6 and X7 depths.
void AppendFixed7OrText(std::string& out, std::string_view text);
std::string Fixed7OrText(std::string_view text);
// Three columns of the number the text begins with, rounded to a whole
// number; 0 leaves them blank: the counts of the N tables.
void AppendWhole3Number(std::string& out, std::string_view text);
std::string Whole3Number(std::string_view text);
// Three columns of the whole number when the text is a number, else the text
// itself: the X6 counts.
void AppendWhole3OrText(std::string& out, std::string_view text);
std::string Whole3OrText(std::string_view text);

// The text without its trailing spaces, right-aligned in n characters.
void AppendTrimRightColumn(std::string& out, std::string_view text, int n);
std::string TrimRightColumn(std::string_view text, int n);
// The text without its leading spaces, right-aligned in n characters.
void AppendTrimLeftColumn(std::string& out, std::string_view text, int n);
std::string TrimLeftColumn(std::string_view text, int n);

// The fields of one output line, joined by single commas.
std::string JoinFields(std::initializer_list<std::string> fields);
std::string JoinFields(const std::vector<std::string>& fields);

// An output line built field by field in a text reused from line to line:
// Field() gives the line to append the next field to, after the comma that
// separates it from the one before.
class LineFields {
 public:
  explicit LineFields(std::string& line) : line_(line) { line_.clear(); }
  std::string& Field() {
    if (started_) line_ += ',';
    started_ = true;
    return line_;
  }
  const std::string& Line() const { return line_; }

 private:
  std::string& line_;
  bool started_ = false;
};

}  // namespace k2v
