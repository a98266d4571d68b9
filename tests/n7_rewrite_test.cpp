#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "run/n7_rewrite.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

TEST(N7Rewrite, KolbrixCodesBecomeVantorCodes) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"1", "11"},  {"2", "12"},  {"3", "21"},  {"4", "24"},  {"5", "5 "},  {"6", "22"},  {"7", "7 "},
      {"8", "8 "},  {"9", "16"},  {"10", "10"}, {"11", "45"}, {"12", "10"}, {"13", "13"}, {"15", "15"},
      {"16", "17"}, {"17", "20"}, {"18", "23"}, {"19", "25"}, {"20", "26"}, {"23", "29"}, {"24", "40"},
      {"28", "44"}, {"29", "46"}, {"31", "48"}, {"32", "60"}, {"37", "65"}, {"38", "80"}, {"43", "85"},
      {"44", "90"}, {"45", "45"}, {"99", "99"}, {"0", "0 "},  {"", "  "},   {"-1", "-1"}, {"A", "A "},
      // The code is cut to two bytes before its value is taken.
      {"123", "10"}, {"3X", "21"}, {"1.", "11"}, {".5", ".5"}, {"砂", "砂"},
  };
  for (const auto& [kolbrix, vantor] : cases) EXPECT_EQ(VantorN7Code(kolbrix), vantor) << "code " << kolbrix;
}

TEST(N7Rewrite, RewritesEveryRecordIntoFixedByteFields) {
  test::TempDir dst;
  test::WriteSjis(dst / "N7.txt",
                  "1,A01,3,1.50,12.00,SAND,CLAY\r\n"
                  "  12 ,B,20, 0.5 ,3,シルト質砂,砂\r\n"
                  "1234,LONGNAME,44,12345678,-1.25,短い,\r\n"
                  "7,C,,1,2,x,y\r\n"
                  "8,D,6");
  RewriteN7Codes(dst.folder());
  EXPECT_EQ(test::ReadBytes(dst / "N7.TXT"), test::CrLfLines({
                                                 "  1,A01   ,21,   1.50,  12.00,SAND    ,CLAY    ",
                                                 " 12,B     ,26,    0.5,      3,シルト質,砂      ",
                                                 "234,LONGNA,90,2345678,  -1.25,短い    ,        ",
                                                 "  7,C     ,  ,      1,      2,x       ,y       ",
                                                 // A short last record: the missing fields are blank.
                                                 "  8,D     ,22,       ,       ,        ,        ",
                                             }));
  EXPECT_FALSE(fs::exists(dst / "N7_WK.TXT"));
  EXPECT_FALSE(fs::exists(dst / "N7.txt"));
}

TEST(N7Rewrite, MissingOrEmptyFileIsLeftAlone) {
  test::TempDir missing;
  RewriteN7Codes(missing.folder());
  EXPECT_TRUE(fs::is_empty(missing.path())) << "no N7.TXT or work file is created";

  test::TempDir empty;
  test::WriteBytes(empty / "N7.TXT", "");
  RewriteN7Codes(empty.folder());
  EXPECT_EQ(test::ReadBytes(empty / "N7.TXT"), "");
  EXPECT_FALSE(fs::exists(empty / "N7_WK.TXT"));
}

TEST(N7Rewrite, WorkFileOfAnEarlierRunIsReplaced) {
  test::TempDir dst;
  test::WriteSjis(dst / "N7_WK.TXT", "left over from an interrupted run\r\nand longer than the new one\r\n");
  test::WriteSjis(dst / "N7.TXT", "1,A,1,1,1,a,b\r\n");
  RewriteN7Codes(dst.folder());
  EXPECT_EQ(test::ReadBytes(dst / "N7.TXT"), test::CrLfLines({"  1,A     ,11,      1,      1,a       ,b       "}));
  EXPECT_FALSE(fs::exists(dst / "N7_WK.TXT"));
}

}  // namespace
}  // namespace k2v
