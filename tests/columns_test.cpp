#include <gtest/gtest.h>

#include <vector>

#include "text/columns.hpp"

namespace k2v {
namespace {

TEST(CharacterFormats, RightLeftAndNumber3CountCharacters) {
  EXPECT_EQ(RightChars("3.50", 7), "   3.50");
  EXPECT_EQ(RightChars("12345678", 7), "2345678");
  EXPECT_EQ(RightChars("砂礫", 3), " 砂礫");
  EXPECT_EQ(LeftChars("砂礫砂礫砂礫砂", 6), "砂礫砂礫砂礫");
  EXPECT_EQ(LeftChars("AB", 4), "AB  ");
  EXPECT_EQ(Number3(1), "  1");
  EXPECT_EQ(Number3(42), " 42");
  EXPECT_EQ(Number3(999), "999");
  EXPECT_EQ(Number3(1000), "000");
  EXPECT_EQ(Number3(1234), "234");
}

// The two rules for numbers in columns: the N tables take the number a text
// begins with, X6 and X7 write a text that is not a number as it stands.
TEST(NumberColumns, NumericValueAgainstTextItself) {
  struct Case {
    const char* text;
    const char* fixed7Number;
    const char* whole3Number;
    const char* fixed7OrText;
    const char* whole3OrText;
  };
  const std::vector<Case> cases = {
      {"12回", "  12.00", " 12", "    12回", "12回"},
      {"-", "   0.00", "   ", "      -", "  -"},
      {"不明", "   0.00", "   ", "     不明", " 不明"},
      {"=12", "   0.00", "   ", "    =12", "=12"},
      {"", "   0.00", "   ", "       ", "   "},
      {"5.", "   5.00", "  5", "   5.00", "  5"},
      {" 3.456m", "   3.46", "  3", " 3.456m", "56m"},
      {"-0.004", "   0.00", "   ", "   0.00", "  0"},
      {"12.5", "  12.50", " 13", "  12.50", " 13"},
      {"-2.5", "  -2.50", " -3", "  -2.50", " -3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Fixed7Number(c.text), c.fixed7Number) << c.text;
    EXPECT_EQ(Whole3Number(c.text), c.whole3Number) << c.text;
    EXPECT_EQ(Fixed7OrText(c.text), c.fixed7OrText) << c.text;
    EXPECT_EQ(Whole3OrText(c.text), c.whole3OrText) << c.text;
  }
}

}  // namespace
}  // namespace k2v
