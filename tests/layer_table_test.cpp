#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "convert/boring_records.hpp"
#include "convert/layer_table.hpp"
#include "soil/starter_vocabulary.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

// A source folder with X1.TXT, an empty vocabulary folder (or one with the
// given G10A.TXT) and a destination folder.
class LayerRun {
 public:
  explicit LayerRun(const std::string& x1Bytes, const std::string& g10aBytes = "") {
    if (!x1Bytes.empty()) test::WriteBytes(source_ / "X1.TXT", x1Bytes);
    if (!g10aBytes.empty()) test::WriteBytes(vocabulary_ / "G10A.TXT", g10aBytes);
    BuildSoilWordTables(ctx_.SoilTables, vocabulary_.folder());
    ctx_.SourceFolder = source_.folder();
    ctx_.DestinationPath = destination_.folder();
  }
  void Run() { ConvertLayerTable(ctx_); }
  std::string Output(const std::string& name) const { return test::ReadBytes(destination_ / name); }
  const test::TempDir& source() const { return source_; }
  const test::TempDir& destination() const { return destination_; }
  SoilWordTables& tables() { return ctx_.SoilTables; }

 private:
  test::TempDir source_;
  test::TempDir vocabulary_;
  test::TempDir destination_;
  ConversionContext ctx_;
};

TEST(LayerTable, WritesAnAlternatingLayerOfSandAndClayToTheDFiles) {
  LayerRun run(test::Sjis("1,3.50,0,砂と粘土の互層\r\n"));
  run.Run();
  EXPECT_EQ(run.Output("D10B.txt"), "  1,   3.50,  ,  ,  ,  ,  ,  ,0, 0,300,0, 0,   ,  ,  ,  ,  ,  ,  \r\n");
  EXPECT_EQ(run.Output("D10.txt"), "  1,   3.50,300,000\r\n");
  EXPECT_EQ(run.Output("G10.txt"), "");
}

TEST(LayerTable, SandstoneAndTuffBrecciaGetTheirRockCodesFromTheStarterWords) {
  // The built-in words alone find 砂 (sand) and 礫 (gravel) in them.
  const std::string x1 = test::Sjis("1,2.00,0,砂岩\r\n2,5.00,0,凝灰角礫岩\r\n");
  LayerRun builtIn(x1);
  builtIn.Run();
  EXPECT_EQ(builtIn.Output("D10.txt"), "  1,   2.00,300,000\r\n  2,   5.00,100,000\r\n");
  LayerRun starter(x1, std::string(StarterG10A_TXT()));
  starter.Run();
  EXPECT_EQ(starter.Output("D10B.txt"),
            "  1,   2.00,  ,  ,  ,  ,  ,  ,0, 0,092,0, 0,   ,  ,  ,  ,  ,  ,  \r\n"
            "  2,   5.00,  ,  ,  ,  ,  ,  ,0, 0,093,0, 0,   ,  ,  ,  ,  ,  ,  \r\n");
  EXPECT_EQ(starter.Output("D10.txt"), "  1,   2.00,092,000\r\n  2,   5.00,093,000\r\n");
  EXPECT_EQ(starter.Output("G10.txt"), "");
}

TEST(LayerTable, MainCodeTextHasThreeColumns) {
  EXPECT_EQ(MainCodeText(-1), "   ");
  EXPECT_EQ(MainCodeText(0), "000");
  EXPECT_EQ(MainCodeText(7), "007");
  EXPECT_EQ(MainCodeText(200), "200");
  EXPECT_EQ(MainCodeText(1234), "234");
}

TEST(LayerTable, CutsModifierCodesToTheirColumns) {
  LayerRun run(test::Sjis("1,1.00,0,礫混り砂質シルト\r\n"));
  run.tables().AdmixtureWordTable[1].code = 12;
  run.tables().QualityWordTable[0].code = 123;
  run.Run();
  EXPECT_EQ(run.Output("D10B.txt"), "  1,   1.00,  ,  ,  ,  ,  ,  ,2,23,500,0, 0,   ,  ,  ,  ,  ,  ,  \r\n");
  EXPECT_EQ(run.Output("D10.txt"), "  1,   1.00,635,000\r\n");
}

TEST(LayerTable, TheThousandthLineIsNumbered000) {
  std::string x1;
  for (int k = 1; k <= 1001; ++k) x1 += std::to_string(k) + ",1.00,0," + test::Sjis("砂") + "\r\n";
  LayerRun run(x1);
  run.Run();
  std::string d10 = run.Output("D10.txt");
  const std::string line = "   1.00,300,000\r\n";
  EXPECT_NE(d10.find("999," + line + "000," + line + "001," + line), std::string::npos);
  EXPECT_EQ(d10.size(), 1001 * (4 + line.size()));
  EXPECT_EQ(run.Output("D10B.txt").size(),
            1001u * std::string("  1,   1.00,  ,  ,  ,  ,  ,  ,0, 0,300,0, 0,   ,  ,  ,  ,  ,  ,  \r\n").size());
}

TEST(LayerTable, MissingOrEmptyX1LeavesEmptyOutputs) {
  LayerRun missing("");
  missing.Run();
  for (const char* output : {"D10B.txt", "D10.txt", "G10.txt"}) EXPECT_EQ(missing.Output(output), "");

  // An empty X1.TXT empties outputs left from before and stays in the source.
  LayerRun empty("");
  test::WriteBytes(empty.source() / "x1.txt", "");
  for (const char* output : {"D10B.txt", "D10.txt", "G10.txt"})
    test::WriteBytes(empty.destination() / output, "old\r\n");
  empty.Run();
  for (const char* output : {"D10B.txt", "D10.txt", "G10.txt"}) EXPECT_EQ(empty.Output(output), "");
  EXPECT_TRUE(fs::exists(empty.source() / "x1.txt"));
}

TEST(LayerTable, ShiftJisBytesThatAreNoCharacterPassThroughTheDepth) {
  // A lone lead byte closing the depth, a description opening with bytes
  // that form no character.
  LayerRun run("1,3.5\x81,0,\xFF\xFE" + test::Sjis("砂") + "\r\n2,4.00,0,\x81\r\n");
  run.Run();
  EXPECT_EQ(run.Output("D10.txt"), "  1,   3.5\x81,300,000\r\n  2,   4.00,000,000\r\n");
}

TEST(LayerTable, ReplacesExistingOutputsAndLeavesTheSourceAlone) {
  LayerRun run(test::Sjis("1,1.00,0,礫\r\n"));
  auto before = test::Snapshot(run.source().path());
  run.Run();
  run.Run();
  EXPECT_EQ(run.Output("D10.txt"), "  1,   1.00,100,000\r\n");
  EXPECT_EQ(test::Snapshot(run.source().path()), before);
}

}  // namespace
}  // namespace k2v
