#include "text/number_format.hpp"

#include <algorithm>

namespace k2v {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Parses the number form at text[i]; returns the index after it, or i when
// there is no number there.
size_t ParseNumberAt(std::string_view text, size_t i, DecimalValue& value) {
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
  value.integerDigits = firstNonZero == std::string_view::npos ? "" : std::string(intPart.substr(firstNonZero));
  size_t lastNonZero = fracPart.find_last_not_of('0');
  value.fractionDigits = lastNonZero == std::string_view::npos ? "" : std::string(fracPart.substr(0, lastNonZero + 1));
  value.negative = negative && !value.IsZero();
  return p;
}

// Adds one to a string of decimal digits.
std::string Increment(std::string digits) {
  for (size_t k = digits.size(); k-- > 0;) {
    if (digits[k] == '9') {
      digits[k] = '0';
    } else {
      ++digits[k];
      return digits;
    }
  }
  return "1" + digits;
}

// Rounds to the given decimals, half away from zero; returns integer digits
// (at least one) and exactly `decimals` decimal digits.
void RoundTo(const DecimalValue& value, size_t decimals, std::string& intDigits, std::string& fracDigits) {
  std::string frac = value.fractionDigits;
  bool roundUp = frac.size() > decimals && frac[decimals] >= '5';
  frac.resize(decimals, '0');
  std::string all = (value.integerDigits.empty() ? "0" : value.integerDigits) + frac;
  if (roundUp) all = Increment(all);
  intDigits = all.substr(0, all.size() - decimals);
  fracDigits = all.substr(all.size() - decimals);
  size_t nz = intDigits.find_first_not_of('0');
  intDigits = nz == std::string::npos ? "0" : intDigits.substr(nz);
}

}  // namespace

bool IsNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  DecimalValue value;
  size_t end = ParseNumberAt(text, i, value);
  if (end == i) return false;
  while (end < text.size() && text[end] == ' ') ++end;
  return end == text.size();
}

DecimalValue NumericValue(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  DecimalValue value;
  ParseNumberAt(text, i, value);
  return value;
}

int CompareToInteger(const DecimalValue& value, long long n) {
  DecimalValue other = NumericValue(std::to_string(n));
  auto magnitude = [](const DecimalValue& a, const DecimalValue& b) {
    if (a.integerDigits.size() != b.integerDigits.size()) return a.integerDigits.size() < b.integerDigits.size() ? -1 : 1;
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

std::string FormatValue(const DecimalValue& value, NumberPattern pattern) {
  size_t decimals = pattern == NumberPattern::Fixed2 ? 2 : 0;
  std::string intDigits;
  std::string fracDigits;
  RoundTo(value, decimals, intDigits, fracDigits);
  bool zero = intDigits == "0" && fracDigits.find_first_not_of('0') == std::string::npos;
  if (pattern == NumberPattern::WholeOrEmpty && zero) return {};
  if (pattern == NumberPattern::TwoDigits && intDigits.size() < 2) intDigits = "0" + intDigits;
  std::string out = (value.negative && !zero) ? "-" : "";
  out += intDigits;
  if (decimals > 0) out += "." + fracDigits;
  return out;
}

std::string FormatNumber(std::string_view text, NumberPattern pattern) {
  return FormatValue(NumericValue(text), pattern);
}

std::string FormatIfNumber(std::string_view text, NumberPattern pattern) {
  if (!IsNumber(text)) return std::string(text);
  return FormatNumber(text, pattern);
}

}  // namespace k2v
