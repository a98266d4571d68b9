#pragma once
// Number texts of Vantor's files. Values are taken from the digits as written
// and rounded in decimal, half away from zero; no binary floating point.

#include <string>
#include <string_view>

namespace k2v {

// The patterns the converters write numbers with.
enum class NumberPattern {
  Fixed2,        // "####0.00" and "###0.00": at least one integer digit, two decimals
  Whole,         // "##0": a whole number, at least one digit
  WholeOrEmpty,  // "###": a whole number, the empty text for 0
  TwoDigits,     // "00": a whole number of at least two digits
};

// A decimal number as written: sign, integer digits and decimal digits.
struct DecimalValue {
  bool negative = false;
  std::string integerDigits;   // without leading zeros; empty for 0
  std::string fractionDigits;  // without trailing zeros
  bool IsZero() const { return integerDigits.empty() && fractionDigits.empty(); }
};

// The leading number of the text after leading spaces; 0 when there is none.
DecimalValue NumericValue(std::string_view text);

// -1, 0 or 1 as value is less than, equal to or greater than n.
int CompareToInteger(const DecimalValue& value, long long n);

// The value as a whole number when it is one and fits, else false.
bool AsWholeNumber(const DecimalValue& value, long long& out);

// The numeric value of the text written with the pattern (0 for a text that
// does not begin with a number), appended to out.
void AppendFormatNumber(std::string& out, std::string_view text, NumberPattern pattern);

// The text written with the pattern when the whole text is a number
// (optional spaces, an optional sign, digits with an optional "." and digits
// or "." and digits, optional spaces), otherwise the text itself; appended to
// out.
void AppendFormatIfNumber(std::string& out, std::string_view text, NumberPattern pattern);

}  // namespace k2v
