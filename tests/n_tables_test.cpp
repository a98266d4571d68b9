#include <gtest/gtest.h>

#include <filesystem>

#include "convert/boring_records.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

class NTablesTest : public test::ConversionTest {
 protected:
};

TEST_F(NTablesTest, N4TakesTheCodeOfTheFirstEqualD12AName) {
  ctx.SoilTables.D12ACodeTable = {{"砂", 7}, {"粘土", 23}, {"砂", 9}, {"礫", 123}};
  ctx.SoilTables.RebuildIndexes();
  Source("X4.TXT",
         "1,1.00,a,b,砂\r\n"
         "2,2.50,a,b,粘土\r\n"
         "3,3.00,a,b,シルト\r\n"
         "4,12345.678,a,b,\" 砂\"\r\n"
         "5,5.00,a,b,礫\r\n");
  ConvertNTables(ctx);
  EXPECT_EQ(Output("N4.txt"), test::CrLfLines({
                                  "  1,   1.00,   0.00, 7",
                                  "  2,   2.50,   0.00,23",
                                  "  3,   3.00,   0.00,00",
                                  // Names are compared as read, spaces included.
                                  "  4,345.678,   0.00,00",
                                  "  5,   5.00,   0.00,23",
                              }));
}

TEST_F(NTablesTest, N4WithoutD12AListWritesZeroCodes) {
  Source("X4.TXT", "1,1.00,a,b,砂\r\n");
  ConvertNTables(ctx);
  EXPECT_EQ(Output("N4.txt"), test::CrLfLines({"  1,   1.00,   0.00,00"}));
}

TEST_F(NTablesTest, N11FormatsDepthCountAndText) {
  Source("X11.TXT",
         "1,12.3,0,x,シルト混り砂\r\n"
         "2,5,12.6,x,砂質シルト\r\n"
         "3,2.345,2.5,x,粘土質砂礫まじりの非常に長い記述ですがさらに続く\r\n"
         "4,-0.005,-2.5,x,\r\n"
         "5,abc,1234,x,ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n"
         "6,,,x,礫\r\n");
  ConvertNTables(ctx);
  EXPECT_EQ(Output("N11.txt"), test::CrLfLines({
                                   "  1,  12.30,   ,シルト混り砂              ",
                                   "  2,   5.00, 13,砂質シルト               ",
                                   "  3,   2.35,  3,粘土質砂礫まじりの非常に長い記述ですがさ",
                                   "  4,  -0.01, -3,                    ",
                                   // A text that does not begin with a number counts as 0.
                                   "  5,   0.00,234,ABCDEFGHIJKLMNOPQRST",
                                   "  6,   0.00,   ,礫                   ",
                               }));
}

// Vantor reads the depth and count columns by position: a text there would
// move every later column, so they hold the number the text begins with.
TEST_F(NTablesTest, DepthAndCountColumnsTakeTheNumericValueOfTheText) {
  Source("X11.TXT",
         "1,12回,12回,x,a\r\n"
         "2,-,-,x,b\r\n"
         "3,不明,不明,x,c\r\n"
         "4,=12,=12,x,d\r\n"
         "5,,,x,e\r\n"
         "6,5.,5.,x,f\r\n"
         "7, 3.456m, 3.456m,x,g\r\n"
         "8,-0.004,-0.004,x,h\r\n"
         "9,全角文字の長い説明,全角文字の長い説明,x,i\r\n");
  Source("X12.TXT",
         "1,12回,メモ\r\n"
         "2,不明,メモ\r\n"
         "3, 3.456m,メモ\r\n"
         "4,-0.004,メモ\r\n");
  ConvertNTables(ctx);
  const std::string pad20(19, ' ');
  EXPECT_EQ(Output("N11.txt"), test::CrLfLines({
                                   "  1,  12.00, 12,a" + pad20,
                                   "  2,   0.00,   ,b" + pad20,
                                   "  3,   0.00,   ,c" + pad20,
                                   "  4,   0.00,   ,d" + pad20,
                                   "  5,   0.00,   ,e" + pad20,
                                   "  6,   5.00,  5,f" + pad20,
                                   "  7,   3.46,  3,g" + pad20,
                                   "  8,   0.00,   ,h" + pad20,
                                   "  9,   0.00,   ,i" + pad20,
                               }));
  const std::string memo = "\"メモ" + std::string(26, ' ') + "\"";
  EXPECT_EQ(Output("N12.txt"), test::CrLfLines({
                                   "  1,  12.00," + memo,
                                   "  2,   0.00," + memo,
                                   "  3,   3.46," + memo,
                                   "  4,   0.00," + memo,
                               }));
}

TEST_F(NTablesTest, N3KeepsSixCharactersOfDoubleByteTexts) {
  Source("X3.TXT",
         "1,0.50,砂礫,x,シルト混じり砂礫,x,x\r\n"
         "2,1234567.5,ab,x,,x,x\r\n"
         // The export ends in the middle of a record: the missing fields are empty.
         "3,9.00,ｼﾙﾄ");
  ConvertNTables(ctx);
  EXPECT_EQ(Output("N3.txt"), test::CrLfLines({
                                  "  1,   0.50,砂礫    ,シルト混じり",
                                  "  2,34567.5,ab    ,      ",
                                  "  3,   9.00,ｼﾙﾄ   ,      ",
                              }));
}

TEST_F(NTablesTest, N12NumbersEveryWrappedLine) {
  Source("X12.TXT",
         "1,1.5,\r\n"
         "2,3,\"  A盛土（砂質シルト）・砂質シルト互層玉石混じり粘土質砂礫砂岩・頁岩互層  \"\r\n"
         "3,4.25,短い記事\r\n");
  ConvertNTables(ctx);
  EXPECT_EQ(Output("N12.txt"), test::CrLfLines({
                                   "  1,   1.50,\"                              \"",
                                   // A double-byte character never straddles the 30th byte.
                                   "  2,   3.00,\"A盛土（砂質シルト）・砂質シル \"",
                                   "  3,       ,\"ト互層玉石混じり粘土質砂礫砂岩\"",
                                   "  4,       ,\"・頁岩互層                    \"",
                                   "  5,   4.25,\"短い記事                      \"",
                               }));
}

TEST_F(NTablesTest, N12WritesEveryLineOfALongText) {
  // 101 lines of 30 bytes: more than the 100 lines older converters kept.
  Source("X12.TXT", "1,2.00," + std::string(30 * 100 + 5, 'x') + "\r\n2,3.00,y\r\n");
  ConvertNTables(ctx);
  std::vector<std::string> lines;
  lines.push_back("  1,   2.00,\"" + std::string(30, 'x') + "\"");
  for (int n = 2; n <= 100; ++n) {
    lines.push_back((n < 10    ? "  "
                     : n < 100 ? " "
                               : "") +
                    std::to_string(n) + ",       ,\"" + std::string(30, 'x') + "\"");
  }
  lines.push_back("101,       ,\"xxxxx" + std::string(25, ' ') + "\"");
  lines.push_back("102,   3.00,\"y" + std::string(29, ' ') + "\"");
  EXPECT_EQ(Output("N12.txt"), test::CrLfLines(lines));
}

TEST_F(NTablesTest, BrokenShiftJisBytesAreKeptAndTakeOneColumn) {
  // Lone lead bytes (0x82) and bytes no character begins with (0xA0, 0xFD).
  test::WriteBytes(root / "export" / "X3.TXT",
                   "1,0.50,\x82,x,AB\x82\xa0\x82,x,x\r\n"
                   "2,1.00,\xa0\xfd,x,\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0,x,x\r\n");
  test::WriteBytes(root / "export" / "X12.TXT",
                   "1,1,\x82"
                   "AB\r\n2,2,\"" +
                       std::string(29, 'x') + "\x82\xa0\"\r\n");
  ConvertNTables(ctx);
  EXPECT_EQ(Output("N3.txt"),
            "  1,   0.50,\x82     ,AB\x82\xa0\x82  \r\n"
            "  2,   1.00,\xa0\xfd    ,\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\r\n");
  EXPECT_EQ(Output("N12.txt"),
            "  1,   1.00,\"\x82"
            "AB" +
                std::string(27, ' ') + "\"\r\n" + "  2,   2.00,\"" + std::string(29, 'x') + " \"\r\n" +
                "  3,       ,\"\x82\xa0" + std::string(28, ' ') + "\"\r\n");
}

TEST_F(NTablesTest, N5TrimsItsColumnsAndRenamesTheHeaders) {
  Source("X5.TXT",
         "1,2.00,\"1 \",skip,\"23  \",456,\"7\",8,,\"ab \",1234\r\n"
         "2,3.00,5");
  test::WriteSjis(root / "dest" / "X5.hed", "見出し\r\n");
  test::WriteBytes(root / "dest" / "N5.hed", "older\r\n");
  test::WriteBytes(root / "dest" / "X5.hd2", "");
  ConvertNTables(ctx);
  EXPECT_EQ(Output("N5.txt"), test::CrLfLines({
                                  "  1,   2.00,  1, 23,456,  7,  8,   , ab,234",
                                  "  2,   3.00,  5,   ,   ,   ,   ,   ,   ,   ",
                              }));
  EXPECT_EQ(Output("N5.hed"), test::Sjis("見出し\r\n"));
  EXPECT_FALSE(fs::exists(root / "dest" / "X5.hed"));
  // An empty header is neither copied nor deleted.
  EXPECT_TRUE(fs::exists(root / "dest" / "X5.hd2"));
  EXPECT_FALSE(fs::exists(root / "dest" / "N5.hd2"));
}

TEST_F(NTablesTest, MissingOrEmptySourcesWriteNothing) {
  test::WriteBytes(root / "export" / "X4.TXT", "");
  test::WriteBytes(root / "export" / "X5.TXT", "");
  test::WriteBytes(root / "dest" / "X5.hed", "H\r\n");
  test::WriteBytes(root / "dest" / "X5.hd2", "H2\r\n");
  Source("X3.TXT", "1,0.50,砂,x,礫,x,x\r\n");
  ConvertNTables(ctx);
  for (const char* name : {"N4.txt", "N11.txt", "N12.txt", "N5.txt", "N5.hed", "N5.hd2"}) {
    EXPECT_FALSE(fs::exists(root / "dest" / name)) << name;
  }
  EXPECT_EQ(Output("N3.txt"), test::CrLfLines({"  1,   0.50,砂     ,礫     "}));
  // Without X5 data the headers stay as they are; the export is not changed.
  EXPECT_EQ(Output("X5.hed"), "H\r\n");
  EXPECT_EQ(Output("X5.hd2"), "H2\r\n");
  EXPECT_TRUE(fs::exists(root / "export" / "X4.TXT"));
}

TEST_F(NTablesTest, LineBreakInAQuotedRemarkStaysOnItsN12Line) {
  // A remark quoted over two lines in X12.TXT keeps its N12 line whole.
  Source("X12.TXT", "1,2.5,\"地下水位\r\nを確認\"\r\n");
  ConvertNTables(ctx);
  EXPECT_EQ(Output("N12.txt"), test::Sjis("  1,   2.50,\"地下水位  を確認              \"") + "\r\n");
}

}  // namespace
}  // namespace k2v
