#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "convert/boring_records.hpp"
#include "convert/x7_records.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

TEST(X7Codes, KolbrixCodesBecomeVantorCodes) {
  // clang-format off
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"1", "11"},  {"2", "12"},  {"3", "21"},  {"4", "24"},  {"5", "5 "},  {"6", "22"},  {"7", "7 "},
      {"8", "8 "},  {"9", "16"},  {"10", "10"}, {"11", "45"}, {"12", "10"}, {"13", "13"}, {"15", "15"},
      {"16", "17"}, {"17", "20"}, {"18", "23"}, {"19", "25"}, {"20", "26"}, {"23", "29"}, {"24", "40"},
      {"28", "44"}, {"29", "46"}, {"31", "48"}, {"32", "60"}, {"37", "65"}, {"38", "80"}, {"43", "85"},
      {"44", "90"}, {"45", "45"}, {"99", "99"}, {"0", "0 "},  {"", "  "},   {"-1", "-1"}, {"A", "A "},
      // The code is cut to two bytes before its value is taken.
      {"123", "10"}, {"3X", "21"}, {"1.", "11"}, {".5", ".5"}, {"砂", "砂"},
  };
  // clang-format on
  // An N7.TXT that an earlier converter left is rewritten with Vantor's codes.
  test::TempDir dir;
  std::string records;
  std::vector<std::string> expected;
  for (const auto& [kolbrix, vantor] : cases) {
    records += "1,A,\"" + kolbrix + "\",,,,\r\n";
    expected.push_back("  1,A     ," + vantor + ",       ,       ,        ,        ");
  }
  test::WriteSjis(dir / "N7.TXT", records);
  RewriteN7(dir.folder());
  EXPECT_EQ(test::ReadBytes(dir / "N7.TXT"), test::CrLfLines(expected));
}

class X7RecordsTest : public test::ConversionTest {
 protected:
  std::string ConvertRecords(const std::string& utf8) {
    test::WriteSjis(root / "export" / "X7.TXT", utf8);
    ConvertX7(ctx);
    return test::ReadBytes(root / "dest" / "N7.txt");
  }
};

TEST_F(X7RecordsTest, TakesTheFirstCodeAndTheFirstTwoTexts) {
  std::string records =
      test::Record68({{2, "No.1"}, {5, "1.5"}, {6, "12"}, {15, "3"}, {50, "礫混り"}, {52, "砂質"}, {60, "無視"}}) +
      test::Record68({{2, "B"}, {9, "\"  \""}, {10, "\" AB \""}, {11, "C"}, {49, "\" 先頭 \""}, {68, "末尾"}}) +
      test::Record68({{2, "C"}, {28, "7"}, {68, "最後"}});
  EXPECT_EQ(ConvertRecords(records), test::CrLfLines({
                                         // Codes 3 and 7 are Vantor's 21 and the raw 7; texts are
                                         // cut and padded in bytes.
                                         "  1,No.1  ,21,   1.50,  12.00,礫混り  ,砂質    ",
                                         "  2,B     ,AB,       ,       ,先頭    ,末尾    ",
                                         "  3,C     ,7 ,       ,       ,最後    ,        ",
                                     }));
}

TEST_F(X7RecordsTest, CutsValuesToTheirColumnsInCharacters) {
  std::string records =
      test::Record68({{2, "ABCDEFGH"}, {5, "abc"}, {6, "-12.345"}, {9, "ABC"}, {49, "非常に長いテキストです"}}) +
      test::Record68({{2, "ボーリング孔A"}, {5, "99999.999"}, {6, "0.005"}}) + test::Record68({});
  EXPECT_EQ(ConvertRecords(records), test::CrLfLines({
                                         // A field that is not a number is written as it stands.
                                         "  1,ABCDEF,BC,    abc, -12.35,非常に長,        ",
                                         "  2,ボーリ,  ,0000.00,   0.01,        ,        ",
                                         "  3,      ,  ,       ,       ,        ,        ",
                                     }));
}

TEST_F(X7RecordsTest, CommaOrQuoteInATextStaysInItsColumn) {
  std::string records = test::Record68({{2, "\"a,b\""}, {5, "1"}, {9, "3"}, {49, "\"湧水,逸\""}, {50, "x\"y"}}) +
                        test::Record68({{2, "B"}, {9, "20"}, {49, "\"\"\""}}) +
                        test::Record68({{2, "C"}, {9, "44"}, {49, "砂"}});
  EXPECT_EQ(ConvertRecords(records), test::CrLfLines({
                                         "  1,a,b   ,21,   1.00,       ,湧水,逸 ,x\"y     ",
                                         "  2,B     ,26,       ,       ,        ,        ",
                                         "  3,C     ,90,       ,       ,砂      ,        ",
                                     }));
}

TEST_F(X7RecordsTest, RightAlignedCutKeepsTheTrailByteOfACutCharacter) {
  // コア無し is 8 bytes; the last 7 start with the trail byte 0x52 of コ.
  std::string bytes = ConvertRecords(test::Record68({{2, "K"}, {5, "コア無し"}}));
  EXPECT_EQ(bytes, "  1,K     ,  ,\x52" + test::Sjis("ア無し") + ",       ,        ,        \r\n");
}

TEST_F(X7RecordsTest, EmptyOrMissingSourceLeavesN7Alone) {
  test::WriteBytes(root / "dest" / "N7.txt", "older\r\n");
  ConvertX7(ctx);
  EXPECT_EQ(test::ReadBytes(root / "dest" / "N7.txt"), "older\r\n");
  EXPECT_EQ(ConvertRecords(""), "older\r\n");
  EXPECT_TRUE(fs::exists(root / "export" / "X7.TXT"));
}

}  // namespace
}  // namespace k2v
