#include "text/columns.hpp"

#include <algorithm>

#include "text/number_format.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

std::string Spaces(int n) { return std::string(static_cast<size_t>(std::max(0, n)), ' '); }

template <class Fields>
std::string Join(const Fields& fields) {
  std::string line;
  bool first = true;
  for (const std::string& field : fields) {
    if (!first) line += ',';
    line += field;
    first = false;
  }
  return line;
}

}  // namespace

std::string LeftChars(std::string_view text, int n) { return LeftCharsOf(std::string(text) + Spaces(n), n); }

std::string RightChars(std::string_view text, int n) { return RightCharsOf(Spaces(n) + std::string(text), n); }

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
