#include <gtest/gtest.h>

#include <vector>

#include "text/columns.hpp"

namespace k2v {
namespace {

std::string Laid(ColumnFormat format, int width, std::string_view value) {
  return ColumnText(Column{1, format, width}, value);
}

TEST(CharacterFormats, RightLeftAndNumber3CountCharacters) {
  EXPECT_EQ(Laid(ColumnFormat::RightChars, 7, "3.50"), "   3.50");
  EXPECT_EQ(Laid(ColumnFormat::RightChars, 7, "12345678"), "2345678");
  EXPECT_EQ(Laid(ColumnFormat::RightChars, 3, "砂礫"), " 砂礫");
  EXPECT_EQ(Laid(ColumnFormat::LeftChars, 6, "砂礫砂礫砂礫砂"), "砂礫砂礫砂礫");
  EXPECT_EQ(Laid(ColumnFormat::LeftChars, 4, "AB"), "AB  ");
  EXPECT_EQ(Laid(ColumnFormat::LeftChars, 4, std::string_view()), "    ");
  const std::pair<long long, const char*> numbers[] = {
      {1, "  1"}, {42, " 42"}, {999, "999"}, {1000, "000"}, {1234, "234"}};
  const Column numberOnly[] = {{kLineNumber, ColumnFormat::Number, 3}};
  const std::vector<std::string> noFields(1);
  std::string line;
  for (const auto& [n, text] : numbers) {
    LayOutLine(line, numberOnly, n, noFields);
    EXPECT_EQ(line, text);
  }
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
      {"12回", "  12.00", " 12", "    12回", "12回"},   {"-", "   0.00", "   ", "      -", "  -"},
      {"不明", "   0.00", "   ", "     不明", " 不明"}, {"=12", "   0.00", "   ", "    =12", "=12"},
      {"", "   0.00", "   ", "       ", "   "},         {"5.", "   5.00", "  5", "   5.00", "  5"},
      {" 3.456m", "   3.46", "  3", " 3.456m", "56m"},  {"-0.004", "   0.00", "   ", "   0.00", "  0"},
      {"12.5", "  12.50", " 13", "  12.50", " 13"},     {"-2.5", "  -2.50", " -3", "  -2.50", " -3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Laid(ColumnFormat::FixedNumber, 7, c.text), c.fixed7Number) << c.text;
    EXPECT_EQ(Laid(ColumnFormat::WholeNumber, 3, c.text), c.whole3Number) << c.text;
    EXPECT_EQ(Laid(ColumnFormat::FixedOrText, 7, c.text), c.fixed7OrText) << c.text;
    EXPECT_EQ(Laid(ColumnFormat::WholeOrText, 3, c.text), c.whole3OrText) << c.text;
  }
}

}  // namespace
}  // namespace k2v
