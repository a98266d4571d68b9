#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "convert/boring_records.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

class X7RecordsTest : public test::ConversionTest {
 protected:
  std::string ConvertRecords(const std::string& utf8) {
    test::WriteSjis(root / "export" / "X7.TXT", utf8);
    ConvertX7(ctx);
    return test::ReadBytes(root / "dest" / "N7.txt");
  }
};

TEST_F(X7RecordsTest, TakesTheFirstCodeAndTheFirstTwoTexts) {
  std::string records = test::Record68({{2, "No.1"}, {5, "1.5"}, {6, "12"}, {15, "3"}, {50, "礫混り"}, {52, "砂質"}, {60, "無視"}}) +
                        test::Record68({{2, "B"}, {9, "\"  \""}, {10, "\" AB \""}, {11, "C"}, {49, "\" 先頭 \""}, {68, "末尾"}}) +
                        test::Record68({{2, "C"}, {28, "7"}, {68, "最後"}});
  EXPECT_EQ(ConvertRecords(records), test::CrLfLines({
                                         "  1,No.1  , 3,   1.50,  12.00,礫混り     ,砂質      ",
                                         "  2,B     ,AB,       ,       ,先頭      ,末尾      ",
                                         "  3,C     , 7,       ,       ,最後      ,        ",
                                     }));
}

TEST_F(X7RecordsTest, CutsValuesToTheirColumnsInCharacters) {
  std::string records =
      test::Record68({{2, "ABCDEFGH"}, {5, "abc"}, {6, "-12.345"}, {9, "ABC"}, {49, "非常に長いテキストです"}}) +
      test::Record68({{2, "ボーリング孔A"}, {5, "99999.999"}, {6, "0.005"}}) + test::Record68({});
  EXPECT_EQ(ConvertRecords(records), test::CrLfLines({
                                         // A field that is not a number is written as it stands.
                                         "  1,ABCDEF,BC,    abc, -12.35,非常に長いテキス,        ",
                                         "  2,ボーリング孔,  ,0000.00,   0.01,        ,        ",
                                         "  3,      ,  ,       ,       ,        ,        ",
                                     }));
}

TEST_F(X7RecordsTest, TheThousandthRecordIsNumberedZero) {
  std::string records;
  for (int k = 1; k <= 1001; ++k) records += test::Record68({{2, "R"}});
  std::string bytes = ConvertRecords(records);
  size_t at = 0;
  for (int k = 1; k < 1000; ++k) at = bytes.find("\r\n", at) + 2;
  EXPECT_EQ(bytes.substr(at), test::CrLfLines({"000,R     ,  ,       ,       ,        ,        ",
                                               "001,R     ,  ,       ,       ,        ,        "}));
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
