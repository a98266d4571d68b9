#include <gtest/gtest.h>

#include <filesystem>

#include "convert/boring_records.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

class RecordSeriesTest : public test::ConversionTest {
 protected:
  std::vector<std::string> DestinationNames() const {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : test::Snapshot(root / "dest")) names.push_back(name);
    return names;
  }
};

TEST_F(RecordSeriesTest, OnlyTheR3FilesPresentAreConverted) {
  Source("r34.txt", "1,5.5,\"3 \",x,x,x\r\n");
  test::WriteBytes(root / "export" / "R31.TXT", "");
  ConvertRecordSeries(ctx);
  EXPECT_EQ(DestinationNames(), std::vector<std::string>{"G34.txt"});
  EXPECT_EQ(Output("G34.txt"), test::CrLfLines({"  1,    5.5, 3"}));
}

TEST_F(RecordSeriesTest, R3LinesTrimAndRightAlignTheirCodes) {
  Source("R30.TXT",
         "1,1.00,\" 5 \",x,12,x\r\n"
         "2,2.00,ABC,x,\"   \",x\r\n");
  Source("R31.TXT", "1,0.30,7,x,x,x\r\n");
  Source("R32.TXT", "1,1.10,12,x,x,x\r\n2,12345678,\"礫 \",x,x,x\r\n");
  Source("R33.TXT", "1,0.20,a,x,x,x\r\n");
  Source("R35.TXT", "1,0.10,b,x,x,x\r\n");
  ConvertRecordSeries(ctx);
  EXPECT_EQ(DestinationNames(), (std::vector<std::string>{"G30.txt", "G31.txt", "G32.txt", "G33.txt", "G35.txt"}));
  EXPECT_EQ(Output("G30.txt"), test::CrLfLines({"  1,   1.00, 5,12", "  2,   2.00,BC,  "}));
  EXPECT_EQ(Output("G31.txt"), test::CrLfLines({"  1,   0.30, 7"}));
  EXPECT_EQ(Output("G32.txt"), test::CrLfLines({"  1,   1.10,12", "  2,2345678, 礫"}));
  EXPECT_EQ(Output("G33.txt"), test::CrLfLines({"  1,   0.20, a"}));
  EXPECT_EQ(Output("G35.txt"), test::CrLfLines({"  1,   0.10, b"}));
}

TEST_F(RecordSeriesTest, G41KeepsTheLastThreeCharactersUntrimmed) {
  Source("R41.TXT",
         "1,2.00,1234,\" 7 \",5,x,x,x,x,x,x\r\n"
         "2,3.00,,砂礫層,\"  \",x,x,x,x,x,x\r\n");
  ConvertRecordSeries(ctx);
  EXPECT_EQ(Output("G41.txt"), test::CrLfLines({"  1,   2.00,234, 7 ,  5", "  2,   3.00,   ,砂礫層,   "}));
}

TEST_F(RecordSeriesTest, G72EndsWithTheFirstThirtyBytesOfTheRemark) {
  Source("R72.TXT",
         "1,1.00,\"  5\",\" 12\",x,\"  3\",x,\r\n"
         "2,2.00,1234,x,x,x,x,ABCDEFGHIJ砂礫質シルト混り粘土層と互層をなす\r\n"
         "3,3.00,\"5  \",\"ab \",x,x,x,ABCDEFGHIJK砂礫質シルト混り粘土層\r\n"
         "4,4.00,x,x,x,x,x,\"  短い  \"\r\n");
  ConvertRecordSeries(ctx);
  EXPECT_EQ(Output("G72.txt"), test::CrLfLines({
                                   "  1,   1.00,  5,12, 3,                              ",
                                   "  2,   2.00,234, x, x,ABCDEFGHIJ砂礫質シルト混り粘土",
                                   // Trailing spaces are kept; a straddling character moves out.
                                   "  3,   3.00,5  ,b , x,ABCDEFGHIJK砂礫質シルト混り粘 ",
                                   "  4,   4.00,  x, x, x,短い" + std::string(26, ' '),
                               }));
}

}  // namespace
}  // namespace k2v
