#include "text/number_format.hpp"

#include <algorithm>

namespace k2v {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number as written, its digits still in the text.
struct NumberView {
  bool negative = false;
  std::string_view integerDigits;   // without leading zeros; empty for 0
  std::string_view fractionDigits;  // without trailing zeros
  bool IsZero() const { return integerDigits.empty() && fractionDigits.empty(); }
};

// Parses the number form at text[i]; returns the index after it, or i when
// there is no number there.
size_t ParseNumberAt(std::string_view text, size_t i, NumberView& value) {
  size_t p = i;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
    negative = text[p] == '-';
    ++p;
  }
  size_t intStart = p;
  while (p < text.size() && IsDigit(text[p])) ++p;
  std::string_view intPart = text.substr(intStart, p - intStart);
  std::string_view fracPart;
  if (p < text.size() && text[p] == '.') {
    size_t fracStart = p + 1;
    size_t q = fracStart;
    while (q < text.size() && IsDigit(text[q])) ++q;
    if (!intPart.empty() || q > fracStart) {
      fracPart = text.substr(fracStart, q - fracStart);
      p = q;
    }
  }
  if (intPart.empty() && fracPart.empty()) return i;
  size_t firstNonZero = intPart.find_first_not_of('0');
  value.integerDigits = firstNonZero == std::string_view::npos ? std::string_view() : intPart.substr(firstNonZero);
  size_t lastNonZero = fracPart.find_last_not_of('0');
  value.fractionDigits = lastNonZero == std::string_view::npos ? std::string_view()
                                                               : fracPart.substr(0, lastNonZero + 1);
  value.negative = negative && !value.IsZero();
  return p;
}

size_t SkipSpaces(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  return i;
}

// Appends the value written with the pattern: rounded to the pattern's
// decimals half away from zero, in decimal digits.
void AppendValue(std::string& out, const NumberView& value, NumberPattern pattern) {
  const size_t decimals = pattern == NumberPattern::Fixed2 ? 2 : 0;
  const size_t start = out.size();
  // The integer digits (at least one), then exactly `decimals` decimal digits.
  if (value.integerDigits.empty()) {
    out += '0';
  } else {
    out.append(value.integerDigits);
  }
  const std::string_view frac = value.fractionDigits;
  const size_t kept = std::min(decimals, frac.size());
  out.append(frac.substr(0, kept));
  out.append(decimals - kept, '0');
  if (frac.size() > decimals && frac[decimals] >= '5') {
    // Adds one to the last digit kept.
    size_t k = out.size();
    while (k > start && out[k - 1] == '9') out[--k] = '0';
    if (k > start) {
      ++out[k - 1];
    } else {
      out.insert(start, 1, '1');
    }
  }
  // The integer digits have no leading zeros but a lone 0, before and after rounding.
  const size_t intLength = out.size() - start - decimals;
  const bool zero = out.find_first_not_of('0', start) == std::string::npos;
  if (pattern == NumberPattern::WholeOrEmpty && zero) {
    out.resize(start);
    return;
  }
  if (decimals > 0) out.insert(start + intLength, 1, '.');
  if (pattern == NumberPattern::TwoDigits && intLength < 2) out.insert(start, 1, '0');
  if (value.negative && !zero) out.insert(start, 1, '-');
}

}  // namespace

DecimalValue NumericValue(std::string_view text) {
  NumberView view;
  ParseNumberAt(text, SkipSpaces(text), view);
  DecimalValue value;
  value.negative = view.negative;
  value.integerDigits = std::string(view.integerDigits);
  value.fractionDigits = std::string(view.fractionDigits);
  return value;
}

int CompareToInteger(const DecimalValue& value, long long n) {
  DecimalValue other = NumericValue(std::to_string(n));
  auto magnitude = [](const DecimalValue& a, const DecimalValue& b) {
    if (a.integerDigits.size() != b.integerDigits.size())
      return a.integerDigits.size() < b.integerDigits.size() ? -1 : 1;
    if (a.integerDigits != b.integerDigits) return a.integerDigits < b.integerDigits ? -1 : 1;
    if (a.fractionDigits != b.fractionDigits) return a.fractionDigits < b.fractionDigits ? -1 : 1;
    return 0;
  };
  if (value.negative != other.negative) return value.negative ? -1 : 1;
  int m = magnitude(value, other);
  return value.negative ? -m : m;
}

bool AsWholeNumber(const DecimalValue& value, long long& out) {
  if (!value.fractionDigits.empty() || value.integerDigits.size() > 17) return false;
  long long v = value.integerDigits.empty() ? 0 : std::stoll(value.integerDigits);
  out = value.negative ? -v : v;
  return true;
}

void AppendFormatNumber(std::string& out, std::string_view text, NumberPattern pattern) {
  NumberView value;
  ParseNumberAt(text, SkipSpaces(text), value);
  AppendValue(out, value, pattern);
}

void AppendFormatIfNumber(std::string& out, std::string_view text, NumberPattern pattern) {
  // One pass: the number at the start, then nothing but spaces.
  const size_t i = SkipSpaces(text);
  NumberView value;
  size_t end = ParseNumberAt(text, i, value);
  const bool number = end > i;
  while (end < text.size() && text[end] == ' ') ++end;
  if (number && end == text.size()) {
    AppendValue(out, value, pattern);
  } else {
    out.append(text);
  }
}

}  // namespace k2v
