#include "text/columns.hpp"

#include <algorithm>

#include "text/cp932.hpp"
#include "text/number_format.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

std::string Spaces(int n) { return std::string(static_cast<size_t>(std::max(0, n)), ' '); }

template <class Fields>
std::string Join(const Fields& fields) {
  std::string line;
  size_t size = 0;
  for (const std::string& field : fields) size += field.size() + 1;
  line.reserve(size);
  bool first = true;
  for (const std::string& field : fields) {
    if (!first) line += ',';
    line += field;
    first = false;
  }
  return line;
}

}  // namespace

// Both as if the text were padded with n spaces first, without making the
// padded text.
std::string LeftChars(std::string_view text, int n) {
  size_t i = 0;
  int k = 0;
  for (; k < n && i < text.size(); ++k) i += Utf8CharLength(text, i);
  std::string out(text.substr(0, i));
  if (k < n) out.append(static_cast<size_t>(n - k), ' ');
  return out;
}

std::string RightChars(std::string_view text, int n) {
  const int count = CharCount(text);
  if (count <= n) {
    std::string out = Spaces(n - count);
    out += text;
    return out;
  }
  size_t i = 0;
  for (int k = 0; k < count - n; ++k) i += Utf8CharLength(text, i);
  return std::string(text.substr(i));
}

std::string FixLeftBytes(std::string_view text, int w) { return SjisLeft(std::string(text) + Spaces(w), w); }

std::string FixRightBytes(std::string_view text, int w) { return SjisRight(Spaces(w) + std::string(text), w); }

std::string Number3(long long n) { return RightChars(" " + std::to_string(n), 3); }

std::string DepthColumn(std::string_view text) { return RightChars(text, 7); }

std::string Fixed7Number(std::string_view text) { return RightChars(FormatNumber(text, NumberPattern::Fixed2), 7); }

std::string Fixed7OrText(std::string_view text) { return RightChars(FormatIfNumber(text, NumberPattern::Fixed2), 7); }

std::string Whole3Number(std::string_view text) {
  return RightChars(FormatNumber(text, NumberPattern::WholeOrEmpty), 3);
}

std::string Whole3OrText(std::string_view text) { return RightChars(FormatIfNumber(text, NumberPattern::Whole), 3); }

std::string TrimRightColumn(std::string_view text, int n) { return RightChars(TrimRight(text), n); }

std::string TrimLeftColumn(std::string_view text, int n) { return RightChars(TrimLeft(text), n); }

std::string JoinFields(std::initializer_list<std::string> fields) { return Join(fields); }

std::string JoinFields(const std::vector<std::string>& fields) { return Join(fields); }

}  // namespace k2v
