#include "text/columns.hpp"

#include <algorithm>
#include <charconv>

#include "text/cp932.hpp"
#include "text/number_format.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

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

// The text from start on, right-aligned in n characters in place: spaces in
// front, or its first characters dropped.
void AlignRightFrom(std::string& out, size_t start, int n) {
  const std::string_view text = std::string_view(out).substr(start);
  const int count = CharCount(text);
  if (count <= n) {
    out.insert(start, static_cast<size_t>(n - count), ' ');
    return;
  }
  size_t i = 0;
  for (int k = 0; k < count - n; ++k) i += Utf8CharLength(text, i);
  out.erase(start, i);
}

template <class Format>
std::string Column(Format format) {
  std::string out;
  format(out);
  return out;
}

}  // namespace

// Both as if the text were padded with n spaces first, without making the
// padded text.
void AppendLeftChars(std::string& out, std::string_view text, int n) {
  size_t i = 0;
  int k = 0;
  for (; k < n && i < text.size(); ++k) {
    i += static_cast<unsigned char>(text[i]) < 0x80 ? 1 : Utf8CharLength(text, i);
  }
  out.append(text.substr(0, i));
  if (k < n) out.append(static_cast<size_t>(n - k), ' ');
}

void AppendRightChars(std::string& out, std::string_view text, int n) {
  const int count = CharCount(text);
  if (count <= n) {
    out.append(static_cast<size_t>(n - count), ' ');
    out.append(text);
    return;
  }
  size_t i = 0;
  for (int k = 0; k < count - n; ++k) i += Utf8CharLength(text, i);
  out.append(text.substr(i));
}

void AppendFixLeftBytes(std::string& out, std::string_view text, int w) {
  const long taken = AppendSjisBytes(out, text, 0, w);
  if (taken < w) out.append(static_cast<size_t>(w - taken), ' ');
}

void AppendFixRightBytes(std::string& out, std::string_view text, int w) {
  const long len = SjisLen(text);
  if (len < w) {
    out.append(static_cast<size_t>(w - len), ' ');
    out.append(text);
  } else {
    AppendSjisBytes(out, text, len - std::max(0, w), len);
  }
}

void AppendNumber3(std::string& out, long long n) {
  // A space, then the digits: their last three characters.
  char digits[24];
  digits[0] = ' ';
  const auto end = std::to_chars(digits + 1, digits + sizeof digits, n).ptr;
  AppendRightChars(out, std::string_view(digits, static_cast<size_t>(end - digits)), 3);
}

void AppendDepthColumn(std::string& out, std::string_view text) { AppendRightChars(out, text, 7); }

void AppendFixed7Number(std::string& out, std::string_view text) {
  const size_t start = out.size();
  AppendFormatNumber(out, text, NumberPattern::Fixed2);
  AlignRightFrom(out, start, 7);
}

void AppendFixed7OrText(std::string& out, std::string_view text) {
  const size_t start = out.size();
  AppendFormatIfNumber(out, text, NumberPattern::Fixed2);
  AlignRightFrom(out, start, 7);
}

void AppendWhole3Number(std::string& out, std::string_view text) {
  const size_t start = out.size();
  AppendFormatNumber(out, text, NumberPattern::WholeOrEmpty);
  AlignRightFrom(out, start, 3);
}

void AppendWhole3OrText(std::string& out, std::string_view text) {
  const size_t start = out.size();
  AppendFormatIfNumber(out, text, NumberPattern::Whole);
  AlignRightFrom(out, start, 3);
}

void AppendTrimRightColumn(std::string& out, std::string_view text, int n) { AppendRightChars(out, TrimRightView(text), n); }

void AppendTrimLeftColumn(std::string& out, std::string_view text, int n) { AppendRightChars(out, TrimLeftView(text), n); }

std::string LeftChars(std::string_view text, int n) {
  return Column([&](std::string& out) { AppendLeftChars(out, text, n); });
}
std::string RightChars(std::string_view text, int n) {
  return Column([&](std::string& out) { AppendRightChars(out, text, n); });
}
std::string FixLeftBytes(std::string_view text, int w) {
  return Column([&](std::string& out) { AppendFixLeftBytes(out, text, w); });
}
std::string FixRightBytes(std::string_view text, int w) {
  return Column([&](std::string& out) { AppendFixRightBytes(out, text, w); });
}
std::string Number3(long long n) {
  return Column([&](std::string& out) { AppendNumber3(out, n); });
}
std::string DepthColumn(std::string_view text) {
  return Column([&](std::string& out) { AppendDepthColumn(out, text); });
}
std::string Fixed7Number(std::string_view text) {
  return Column([&](std::string& out) { AppendFixed7Number(out, text); });
}
std::string Fixed7OrText(std::string_view text) {
  return Column([&](std::string& out) { AppendFixed7OrText(out, text); });
}
std::string Whole3Number(std::string_view text) {
  return Column([&](std::string& out) { AppendWhole3Number(out, text); });
}
std::string Whole3OrText(std::string_view text) {
  return Column([&](std::string& out) { AppendWhole3OrText(out, text); });
}
std::string TrimRightColumn(std::string_view text, int n) {
  return Column([&](std::string& out) { AppendTrimRightColumn(out, text, n); });
}
std::string TrimLeftColumn(std::string_view text, int n) {
  return Column([&](std::string& out) { AppendTrimLeftColumn(out, text, n); });
}

std::string JoinFields(std::initializer_list<std::string> fields) { return Join(fields); }

std::string JoinFields(const std::vector<std::string>& fields) { return Join(fields); }

}  // namespace k2v
