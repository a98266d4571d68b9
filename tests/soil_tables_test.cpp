#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "soil/soil_codes.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

// Entries as "word=code", in entry order.
std::vector<std::string> Entries(const std::vector<SoilWord>& table) {
  std::vector<std::string> out;
  for (const SoilWord& entry : table) out.push_back(entry.word + "=" + std::to_string(entry.code));
  return out;
}

using Strings = std::vector<std::string>;

TEST(SoilWordTables, WithoutExtensionFilesCreateNothing) {
  test::TempDir vocabulary;
  SoilWordTables tables;
  BuildSoilWordTables(tables, vocabulary.folder());
  EXPECT_TRUE(tables.D12ACodeTable.empty());
  // The vocabulary folder lies outside the destination: no empty G10A.TXT or
  // D12A.TXT is left there.
  EXPECT_TRUE(test::Snapshot(vocabulary.path()).empty());
}

TEST(SoilWordTables, EmptyExtensionFilesAddNothingAndStay) {
  test::TempDir vocabulary;
  test::WriteBytes(vocabulary / "G10A.TXT", "");
  test::WriteBytes(vocabulary / "d12a.txt", "");
  SoilWordTables tables;
  BuildSoilWordTables(tables, vocabulary.folder());
  EXPECT_EQ(tables.SoilNameTable.size(), 23u);
  EXPECT_TRUE(tables.D12ACodeTable.empty());
  EXPECT_EQ(test::Snapshot(vocabulary.path()).size(), 2u);
}

TEST(SoilWordTables, AppendsG10AWordsInFileOrderAfterTheBuiltInOnes) {
  test::TempDir vocabulary;
  test::WriteSjis(vocabulary / "g10a.txt",
                  "950,x,泥炭,y\r\n"
                  "951,\"a,b\",\"風化岩\",z\r\n"
                  "952,x,砂,y\r\n");
  SoilWordTables tables;
  BuildSoilWordTables(tables, vocabulary.path().string());  // a folder named without its final separator

  // The built-in words come first, then the file's, in file order.
  const Strings all = Entries(tables.SoilNameTable);
  ASSERT_EQ(all.size(), 26u);
  EXPECT_EQ(Strings(all.begin() + 23, all.end()), (Strings{"泥炭=950", "風化岩=951", "砂=952"}));
  // A G10A word equal to a built-in word: the built-in entry is found first.
  EXPECT_EQ(LookupSoilWord(tables, SoilTable::SoilName, "砂"), 17);
  EXPECT_EQ(LookupSoilWord(tables, SoilTable::SoilName, "風化岩"), 25);
  EXPECT_EQ(LookupSoilWord(tables, SoilTable::SoilName, "岩"), 0);
}

TEST(SoilWordTables, SkipsRecordsWithCodesThatAreNotSixteenBitWholeNumbers) {
  test::TempDir vocabulary;
  test::WriteSjis(vocabulary / "G10A.TXT",
                  "+950,x,正,y\r\n"
                  "950.0,x,小数,y\r\n"
                  "abc,x,文字,y\r\n"
                  "32768,x,大きすぎ,y\r\n"
                  "-32768,x,最小,y\r\n"
                  "\" 32767 \",x,最大,y\r\n"
                  ",x,空,y\r\n"
                  "-,x,符号だけ,y\r\n"
                  "99999999999999999999,x,桁あふれ,y\r\n"
                  "7,x,最後,y\r\n");
  SoilWordTables tables;
  BuildSoilWordTables(tables, vocabulary.folder());
  Strings all = Entries(tables.SoilNameTable);
  EXPECT_EQ(Strings(all.begin() + 23, all.end()), (Strings{"正=950", "最小=-32768", "最大=32767", "最後=7"}));
}

TEST(SoilWordTables, LeavesOutALastRecordTheFileEndsIn) {
  test::TempDir vocabulary;
  // The last record stops right after a comma: three of its four items.
  test::WriteSjis(vocabulary / "G10A.TXT", "950,x,泥炭,y\r\n951,x,");
  test::WriteSjis(vocabulary / "D12A.TXT", "1,標準貫入,a\r\n2,孔内水平載荷,\r\n3,現場透水");
  SoilWordTables tables;
  BuildSoilWordTables(tables, vocabulary.folder());
  EXPECT_EQ(tables.SoilNameTable.size(), 24u);
  EXPECT_EQ(tables.SoilNameTable.back().word, "泥炭");
  // "2,孔内水平載荷," ends in an empty third item: that record is whole.
  EXPECT_EQ(Entries(tables.D12ACodeTable), (Strings{"標準貫入=1", "孔内水平載荷=2"}));
}

TEST(SoilWordTables, BlankLinesAtTheEndDoNotCompleteALastRecord) {
  // Line ends and spaces after the last item are no items: the short last
  // record is left out just as it is without them.
  test::TempDir vocabulary;
  test::WriteSjis(vocabulary / "G10A.TXT", "950,x,泥炭,y\r\n951,x,腐植土\r\n\r\n");
  test::WriteSjis(vocabulary / "D12A.TXT", "1,標準貫入,a\r\n3,現場透水\r\n  \r\n");
  SoilWordTables tables;
  BuildSoilWordTables(tables, vocabulary.folder());
  EXPECT_EQ(tables.SoilNameTable.size(), 24u);
  EXPECT_EQ(tables.SoilNameTable.back().word, "泥炭");
  EXPECT_EQ(Entries(tables.D12ACodeTable), (Strings{"標準貫入=1"}));
}

TEST(SoilWordTables, ReadsD12ARecordsInFileOrder) {
  test::TempDir vocabulary;
  test::WriteSjis(vocabulary / "D12A.TXT", "12,標準貫入,a\r\n7,孔内水平載荷,b\r\n12,標準貫入,c\r\n");
  SoilWordTables tables;
  BuildSoilWordTables(tables, vocabulary.folder());
  EXPECT_EQ(Entries(tables.D12ACodeTable), (Strings{"標準貫入=12", "孔内水平載荷=7", "標準貫入=12"}));
  EXPECT_EQ(D12ACode(tables, "孔内水平載荷"), 7);
}

// What the files held that gives nothing, as "kind@line" with the text and
// what is looked up instead.
std::vector<std::string> Problems(const ExtensionFileRead& file) {
  static const char* const kKinds[] = {"NoCode", "EmptyWord", "CutWord", "BeyondLimit", "CutShort",
                                       "Utf8",   "Utf8Bom",   "Utf16",   "NotShiftJis"};
  std::vector<std::string> out;
  for (const VocabularyProblem& p : file.problems) {
    std::string text = std::string(kKinds[static_cast<int>(p.kind)]) + "@" + std::to_string(p.line);
    if (!p.text.empty()) text += " " + p.text;
    if (p.kind == VocabularyProblemKind::CutWord) text += ">" + p.lookedUp;
    out.push_back(text);
  }
  return out;
}

TEST(SoilWordTables, StopAtTheirEntryLimitsAndTellTheFirstLineNotRead) {
  test::TempDir vocabulary;
  // A record without a whole-number code takes no place.
  std::string g10a = "x,y,無,z\r\n";
  std::string d12a;
  for (int k = 0; k < 1500; ++k) g10a += std::to_string(1000 + k) + ",x,語" + std::to_string(k) + ",y\r\n";
  for (int k = 0; k < 300; ++k) d12a += std::to_string(k) + ",名" + std::to_string(k) + ",z\r\n";
  test::WriteSjis(vocabulary / "G10A.TXT", g10a);
  test::WriteSjis(vocabulary / "D12A.TXT", d12a);
  SoilWordTables tables;
  VocabularyRead read;
  BuildSoilWordTables(tables, vocabulary.folder(), &read);
  ASSERT_EQ(tables.SoilNameTable.size(), 23u + 977u);
  EXPECT_EQ(tables.SoilNameTable.back().word, "語976");
  EXPECT_EQ(LookupSoilWord(tables, SoilTable::SoilName, "語977"), 0);
  EXPECT_EQ(read.g10a.entries, 977);
  EXPECT_EQ(Problems(read.g10a), (Strings{"NoCode@1 x", "BeyondLimit@979"}));
  ASSERT_EQ(tables.D12ACodeTable.size(), 200u);
  EXPECT_EQ(tables.D12ACodeTable.back().word, "名199");
  EXPECT_EQ(Problems(read.d12a), (Strings{"BeyondLimit@201"}));
}

TEST(SoilWordTables, TellEveryLineThatGivesNoWordADescriptionFinds) {
  test::TempDir vocabulary;
  // CR LF, LF and CR line ends and a blank line; the last record lacks its
  // fourth item.
  test::WriteSjis(vocabulary / "G10A.TXT",
                  "950,x,泥炭,y\r\n"
                  "abc,x,文字,y\n"
                  "\r\n"
                  "951,x,礫質土,y\r"
                  "952,x,砂混り粘土,y\r\n"
                  "953,x,砂と粘土の互層,y\r\n"
                  "954,x,シルト質,y\r\n"
                  "955,x,,y\r\n"
                  "956,x,腐植土\r\n");
  SoilWordTables tables;
  VocabularyRead read;
  BuildSoilWordTables(tables, vocabulary.folder(), &read);
  EXPECT_TRUE(read.g10a.exists);
  EXPECT_EQ(read.g10a.path, (vocabulary / "G10A.TXT").string());
  EXPECT_EQ(read.g10a.entries, 6);
  EXPECT_EQ(Problems(read.g10a),
            (Strings{"NoCode@2 abc", "CutWord@4 礫質土>土", "CutWord@5 砂混り粘土>粘土", "CutWord@6 砂と粘土の互層>砂",
                     "CutWord@7 シルト質>", "EmptyWord@8", "CutShort@9"}));
  EXPECT_FALSE(read.d12a.exists);
  EXPECT_TRUE(read.d12a.problems.empty());
}

TEST(SoilWordTables, TellAFileThatIsNotShiftJis) {
  const std::string utf8 = "950,x,泥炭,y\r\n";
  const std::vector<std::pair<std::string, std::string>> files = {
      {utf8, "Utf8@0"},
      {"\xEF\xBB\xBF" + utf8, "Utf8Bom@0"},
      {std::string("\xFF\xFE"
                   "9\0"
                   "5\0",
                   6),
       "Utf16@0"},
      {test::Sjis("950,x,泥炭,y\r\n") + "951,x,\x81,y\r\n", "NotShiftJis@2"},
  };
  for (const auto& [bytes, problem] : files) {
    SoilWordTables tables;
    VocabularyRead read;
    BuildSoilWordTablesFromBytes(tables, bytes, "", &read);
    ASSERT_FALSE(read.g10a.problems.empty()) << problem;
    EXPECT_EQ(Problems(read.g10a)[0], problem);
  }
  // Shift-JIS text with half-width katakana is none of them.
  SoilWordTables tables;
  VocabularyRead read;
  BuildSoilWordTablesFromBytes(tables, test::Sjis("500,x,ｼﾙﾄ,y\r\n"), "", &read);
  EXPECT_TRUE(read.g10a.problems.empty());
  EXPECT_EQ(LookupSoilWord(tables, SoilTable::SoilName, "ｼﾙﾄ"), 24);
}

TEST(SoilWordTables, LookUpWholeWordsAndHoldAdmixtureWordsUpToTheirMix) {
  test::TempDir vocabulary;
  test::WriteSjis(vocabulary / "G10A.TXT", "950,x,泥炭,y\r\n");
  SoilWordTables tables;
  BuildSoilWordTables(tables, vocabulary.folder());
  EXPECT_EQ(LookupSoilWord(tables, SoilTable::SoilName, "シルト"), 19);
  EXPECT_EQ(LookupSoilWord(tables, SoilTable::QualityWord, "火山灰質"), 5);
  EXPECT_EQ(LookupSoilWord(tables, SoilTable::SoilName, "  "), 0);
  EXPECT_EQ(LookupSoilWord(tables, SoilTable::SoilName, ""), 0);
  // Compared untrimmed.
  EXPECT_EQ(LookupSoilWord(tables, SoilTable::SoilName, " 砂"), 0);
  EXPECT_EQ(Entries(tables.AdmixtureWordTable), (Strings{"玉石混=1", "礫混=2", "砂混=3", "シルト混=4", "粘土混=5",
                                                         "有機質土混=6", "火山灰混=7", "貝殻混=8"}));
  EXPECT_EQ(LookupSoilWord(tables, SoilTable::AdmixtureWord, "砂混り"), 0);
  // A second build starts again from the built-in words.
  BuildSoilWordTables(tables, vocabulary.folder());
  EXPECT_EQ(tables.SoilNameTable.size(), 24u);
  EXPECT_EQ(LookupSoilWord(tables, SoilTable::AdmixtureWord, "砂混"), 3);
  const LayerCodes codes = ClassifyLayer(tables, SplitLayerDescription("砂混りシルト"));
  EXPECT_EQ(codes.admixture[0], 3);
  EXPECT_EQ(codes.main[0], 500);
}

}  // namespace
}  // namespace k2v
