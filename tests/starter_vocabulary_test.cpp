#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "io/record_reader.hpp"
#include "soil/soil_codes.hpp"
#include "soil/starter_vocabulary.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

// The starter files of the tree, as the packages install them.
const fs::path kVocabulary = fs::path(K2V_VOCABULARY_DIR);

TEST(StarterVocabulary, TheProgramHoldsTheFilesOfTheTreeByteForByte) {
  EXPECT_EQ(std::string(StarterG10A_TXT()), test::ReadBytes(kVocabulary / "G10A.TXT"));
  EXPECT_EQ(std::string(StarterD12A_TXT()), test::ReadBytes(kVocabulary / "D12A.TXT"));
}

TEST(StarterVocabulary, EveryWordAloneAsALayerGetsTheCodeOfItsLine) {
  SoilWordTables tables;
  VocabularyRead read;
  BuildSoilWordTables(tables, kVocabulary.string(), &read);
  EXPECT_TRUE(read.g10a.problems.empty())
      << read.g10a.problems.size() << " problems, the first on line " << read.g10a.problems[0].line;
  EXPECT_TRUE(read.d12a.problems.empty());

  // Item 2 of a line names the meaning of its code in the built-in table.
  const std::string bytes = test::ReadBytes(kVocabulary / "G10A.TXT");
  int lines = 0;
  ForEachRecordInBytes(bytes, 4, [&](const RecordReader& r) {
    const std::string& word = r.Fields[3];
    SCOPED_TRACE(word);
    ++lines;
    const int code = std::stoi(r.Fields[1]);
    // The parser leaves the word whole (no 質, 混り or 互層 in it).
    EXPECT_EQ(LookedUpAlone(tables, word), word);
    const LayerCodes codes = ClassifyLayer(tables, SplitLayerDescription(word));
    EXPECT_EQ(codes.main[0], code);
    const auto builtIn = std::find_if(tables.SoilNameTable.begin(),
                                      tables.SoilNameTable.begin() + kBuiltInSoilNameCount,
                                      [&](const SoilWord& w) { return w.code == code; });
    ASSERT_NE(builtIn, tables.SoilNameTable.begin() + kBuiltInSoilNameCount) << code << " is no built-in code";
    EXPECT_EQ(r.Fields[2], builtIn->word);
  });
  EXPECT_EQ(lines, read.g10a.entries);
  // One record a line, each ended by CR LF, and no other line end.
  size_t crlf = 0;
  for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2)) ++crlf;
  EXPECT_EQ(crlf, static_cast<size_t>(lines));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n') + std::count(bytes.begin(), bytes.end(), '\r'), 2 * lines);
  EXPECT_TRUE(bytes.ends_with("\r\n"));
}

TEST(StarterVocabulary, AnUncodedNameFindsTheLongestStarterWordInIt) {
  EXPECT_EQ(StarterWordIn("風化安山岩")->code, 92);
  EXPECT_EQ(StarterWordIn("高土(腐植土)")->word, "腐植土");
  EXPECT_FALSE(StarterWordIn("岩盤"));
  EXPECT_FALSE(StarterWordIn("土"));
}

}  // namespace
}  // namespace k2v
