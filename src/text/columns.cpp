#include "text/columns.hpp"

#include <algorithm>

#include "text/cp932.hpp"
#include "text/number_format.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

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

// As if the text were padded with n spaces first, without making the padded
// text.
void AppendLeftChars(std::string& out, std::string_view text, int n) {
  size_t i = 0;
  int k = 0;
  for (; k < n && i < text.size(); ++k) {
    i += static_cast<unsigned char>(text[i]) < 0x80 ? 1 : Utf8CharLength(text, i);
  }
  out.append(text.substr(0, i));
  if (k < n) out.append(static_cast<size_t>(n - k), ' ');
}

void AppendLeftBytes(std::string& out, std::string_view text, int w) {
  const long taken = AppendSjisBytes(out, text, 0, w);
  if (taken < w) out.append(static_cast<size_t>(w - taken), ' ');
}

void AppendRightBytes(std::string& out, std::string_view text, int w) {
  const long len = SjisLen(text);
  if (len < w) {
    out.append(static_cast<size_t>(w - len), ' ');
    out.append(text);
  } else {
    AppendSjisBytes(out, text, len - std::max(0, w), len);
  }
}

void AppendNumberRight(std::string& out, std::string_view text, int n, NumberPattern pattern, bool textItself) {
  const size_t start = out.size();
  if (textItself) {
    AppendFormatIfNumber(out, text, pattern);
  } else {
    AppendFormatNumber(out, text, pattern);
  }
  AlignRightFrom(out, start, n);
}

}  // namespace

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

std::string ColumnText(const Column& column, std::string_view value) {
  std::string text;
  AppendColumn(text, column, value);
  return text;
}

void AppendColumn(std::string& out, const Column& column, std::string_view value) {
  const size_t start = out.size();
  const int w = column.width;
  if (value.data() == nullptr) {
    out.append(static_cast<size_t>(std::max(0, w)), ' ');
  } else {
    switch (column.format) {
      case ColumnFormat::Number: {
        // A space and the digits (one byte each): their last w.
        const size_t digits = value.size();
        const size_t width = static_cast<size_t>(std::max(0, w));
        if (digits < width) {
          out.append(width - digits, ' ');
          out.append(value);
        } else {
          out.append(value.substr(digits - width));
        }
        break;
      }
      case ColumnFormat::LeftChars: AppendLeftChars(out, value, w); break;
      case ColumnFormat::FirstChars: out += LeftCharsOf(value, w); break;
      case ColumnFormat::RightChars: AppendRightChars(out, value, w); break;
      case ColumnFormat::TrimRightChars: AppendRightChars(out, TrimRightView(value), w); break;
      case ColumnFormat::TrimLeftChars: AppendRightChars(out, TrimLeftView(value), w); break;
      case ColumnFormat::LeftBytes: AppendLeftBytes(out, value, w); break;
      case ColumnFormat::RightBytes: AppendRightBytes(out, TrimView(value), w); break;
      case ColumnFormat::FixedNumber: AppendNumberRight(out, value, w, NumberPattern::Fixed2, false); break;
      case ColumnFormat::FixedOrText: AppendNumberRight(out, value, w, NumberPattern::Fixed2, true); break;
      case ColumnFormat::WholeNumber: AppendNumberRight(out, value, w, NumberPattern::WholeOrEmpty, false); break;
      case ColumnFormat::WholeOrText: AppendNumberRight(out, value, w, NumberPattern::Whole, true); break;
      case ColumnFormat::TwoDigitsOrText: AppendFormatIfNumber(out, value, NumberPattern::TwoDigits); break;
      case ColumnFormat::Quoted:
        out += '"';
        out += value;
        out += '"';
        break;
      case ColumnFormat::AsIs: out += value; break;
    }
  }
  if (column.then) {
    std::string laidOut = out.substr(start);
    column.then(laidOut);
    out.replace(start, std::string::npos, laidOut);
  }
}

}  // namespace k2v
