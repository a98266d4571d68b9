#include <gtest/gtest.h>

#include "text/number_format.hpp"

namespace k2v {
namespace {

std::string FormatNumber(std::string_view text, NumberPattern pattern) {
  std::string out;
  AppendFormatNumber(out, text, pattern);
  return out;
}

std::string FormatIfNumber(std::string_view text, NumberPattern pattern) {
  std::string out;
  AppendFormatIfNumber(out, text, pattern);
  return out;
}

struct FormatCase {
  const char* input;
  NumberPattern pattern;
  const char* expected;
};

TEST(NumberFormat, PatternsRoundDecimallyHalfAwayFromZero) {
  const FormatCase cases[] = {
      {"12.3", NumberPattern::Fixed2, "12.30"},
      {"2.675", NumberPattern::Fixed2, "2.68"},
      {"-2.675", NumberPattern::Fixed2, "-2.68"},
      {"0.125", NumberPattern::Fixed2, "0.13"},
      {"-0.001", NumberPattern::Fixed2, "0.00"},
      {"123456.7", NumberPattern::Fixed2, "123456.70"},
      {".5", NumberPattern::Fixed2, "0.50"},
      {"5.", NumberPattern::Fixed2, "5.00"},
      {"9.999", NumberPattern::Fixed2, "10.00"},
      {"ABC", NumberPattern::Fixed2, "0.00"},
      {"  12abc", NumberPattern::Fixed2, "12.00"},
      {"+3", NumberPattern::Fixed2, "3.00"},
      {"12.6", NumberPattern::Whole, "13"},
      {"0.4", NumberPattern::Whole, "0"},
      {"-0.4", NumberPattern::Whole, "0"},
      {"-2.5", NumberPattern::Whole, "-3"},
      {"0", NumberPattern::WholeOrEmpty, ""},
      {"0.4", NumberPattern::WholeOrEmpty, ""},
      {"7", NumberPattern::WholeOrEmpty, "7"},
      {"5", NumberPattern::TwoDigits, "05"},
      {"123", NumberPattern::TwoDigits, "123"},
      {"-5", NumberPattern::TwoDigits, "-05"},
      {"99999999999999999999.995", NumberPattern::Fixed2, "100000000000000000000.00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.input, c.pattern), c.expected) << c.input;
  }
}

TEST(NumberFormat, OnlyPlainDecimalsAreNumbersOtherwiseTheTextItself) {
  for (const char* yes : {"1", " 1 ", "+2", "5.", "007"})
    EXPECT_NE(FormatIfNumber(yes, NumberPattern::Fixed2), yes) << yes;
  EXPECT_EQ(FormatIfNumber(" -1.5 ", NumberPattern::Fixed2), "-1.50");
  EXPECT_EQ(FormatIfNumber(".5", NumberPattern::Fixed2), "0.50");
  for (const char* no : {"", " ", ".", "-", "1e5", "1.2.3", "12a", "- 1", "１２", "abc"}) {
    EXPECT_EQ(FormatIfNumber(no, NumberPattern::Fixed2), no) << no;
  }
}

TEST(NumberFormat, NumericValueComparesExactly) {
  EXPECT_GT(CompareToInteger(NumericValue("25"), 20), 0);
  EXPECT_EQ(CompareToInteger(NumericValue("20"), 20), 0);
  EXPECT_EQ(CompareToInteger(NumericValue("20.000"), 20), 0);
  EXPECT_GT(CompareToInteger(NumericValue("20.0000000000000000001"), 20), 0);
  EXPECT_LT(CompareToInteger(NumericValue("7.5"), 20), 0);
  EXPECT_LT(CompareToInteger(NumericValue("ABC"), 20), 0);
  EXPECT_LT(CompareToInteger(NumericValue("-30"), 20), 0);
  long long v = 0;
  EXPECT_TRUE(AsWholeNumber(NumericValue("44 "), v));
  EXPECT_EQ(v, 44);
  EXPECT_FALSE(AsWholeNumber(NumericValue(".5"), v));
}

}  // namespace
}  // namespace k2v
