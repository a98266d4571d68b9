#pragma once
// The columns of Vantor's fixed-column files: how each field is aligned, cut
// and padded, in characters or in CP932 bytes, and how numbers are written
// into them. Every converter takes its columns from here.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace k2v {

// Left n: the text with n spaces appended, its first n characters.
std::string LeftChars(std::string_view text, int n);
// Right n: n spaces in front of the text, its last n characters.
std::string RightChars(std::string_view text, int n);
// Left-aligned in w bytes: the value followed by spaces, its first w bytes.
std::string FixLeftBytes(std::string_view text, int w);
// Right-aligned in w bytes: spaces followed by the value, its last w bytes.
std::string FixRightBytes(std::string_view text, int w);

// Number 3: a running number right-aligned in three columns; from 1000 on
// only the last three digits.
std::string Number3(long long n);
// Depth: the depth as read, right-aligned in seven columns (not re-formatted).
std::string DepthColumn(std::string_view text);

// Seven columns of two decimals of the number the text begins with (0 when
// it begins with none): the depths of the N tables.
std::string Fixed7Number(std::string_view text);
// Seven columns of two decimals when the text is a number, else the text
// itself: the X6 and X7 depths.
std::string Fixed7OrText(std::string_view text);
// Three columns of the number the text begins with, rounded to a whole
// number; 0 leaves them blank: the counts of the N tables.
std::string Whole3Number(std::string_view text);
// Three columns of the whole number when the text is a number, else the text
// itself: the X6 counts.
std::string Whole3OrText(std::string_view text);

// The text without its trailing spaces, right-aligned in n characters.
std::string TrimRightColumn(std::string_view text, int n);
// The text without its leading spaces, right-aligned in n characters.
std::string TrimLeftColumn(std::string_view text, int n);

// The fields of one output line, joined by single commas.
std::string JoinFields(std::initializer_list<std::string> fields);
std::string JoinFields(const std::vector<std::string>& fields);

}  // namespace k2v
