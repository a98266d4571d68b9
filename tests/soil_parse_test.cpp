#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "io/record_reader.hpp"
#include "soil/soil_codes.hpp"
#include "soil/soil_name_parser.hpp"
#include "test_support.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

const std::string kNone = "  ";

// The tables as a run builds them, with these G10A.TXT lines.
SoilWordTables Tables(const std::string& g10a = "") {
  test::TempDir vocabulary;
  if (!g10a.empty()) test::WriteSjis(vocabulary / "G10A.TXT", g10a);
  SoilWordTables tables;
  BuildSoilWordTables(tables, vocabulary.folder());
  return tables;
}

SoilNameWords ParseOne(const SoilWordTables& tables, const std::string& text) {
  auto words = ParseSoilName(tables, LayerParts{1, {text, ""}});
  EXPECT_EQ(words[1].quality, kNone);
  EXPECT_EQ(words[1].admixture, kNone);
  EXPECT_EQ(words[1].mainName, kNone);
  return words[0];
}

struct ParseCase {
  std::string text;
  std::string quality;
  std::string admixture;
  std::string mainName;
};

TEST(ParseSoilName, FindsQualityAdmixtureAndMainName) {
  const ParseCase cases[] = {
      {"砂混りシルト", kNone, "砂混", "シルト"},
      {"礫混じり砂質シルト", "砂質", "礫混", "シルト"},
      {"シルト質砂", "シルト質", kNone, "砂"},
      // "礫" and "砂" are equally long; "礫" comes first in the table.
      {"玉石混り砂礫", kNone, "玉石混", "礫"},
      // Every admixture word is tried; the later entry is the result.
      {"砂混り粘土混りシルト", kNone, "粘土混", "シルト"},
      {"火山灰質粘性土", "火山灰質", kNone, "粘性土"},
      // Main names that hold a quality word lose it and are not found.
      {"砂質土", "砂質", kNone, kNone},
      {"有機質土", "有機質", kNone, kNone},
      {"高有機質土", "有機質", kNone, kNone},
      {"礫質土", kNone, kNone, kNone},
      {"シルト質", "シルト質", kNone, kNone},
      // An admixture word outside the table is dropped with all in front of it.
      {"木片混りシルト", kNone, kNone, "シルト"},
      {"粘土質砂礫混じりシルト", "粘土質", "礫混", "シルト"},
      {"", kNone, kNone, kNone},
      // "砂混" followed by neither "じり" nor "り": the rest is dropped.
      {"砂混シルト", kNone, "砂混", kNone},
      // A "混" followed by neither, with no table word: the text stays.
      {"木片混砂質シルト", "砂質", kNone, "シルト"},
      {"シルト砂混り", kNone, "砂混", "シルト"},
      {"シルト混じり砂礫", kNone, "シルト混", "礫"},
      {"有機質土混りシルト質砂", "シルト質", "有機質土混", "砂"},
      {"貝殻混り砂", kNone, "貝殻混", "砂"},
      {"スコリア混りローム", kNone, kNone, "ローム"},
      // Half-width katakana is not the full-width word.
      {"ｼﾙﾄ質砂", kNone, kNone, "砂"},
      {"粘土", kNone, kNone, kNone},
      {"埋土（砂礫）", kNone, kNone, "埋土"},
      {"中硬岩", kNone, kNone, "中硬岩"},
  };
  const SoilWordTables tables = Tables();
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.text);
    SoilNameWords words = ParseOne(tables, c.text);
    EXPECT_EQ(words.quality, c.quality);
    EXPECT_EQ(words.admixture, c.admixture);
    EXPECT_EQ(words.mainName, c.mainName);
  }
}

struct SplitCase {
  std::string description;
  int count;
  std::string first;
  std::string second;
};

TEST(SplitLayerDescription, SplitsAlternatingLayersAtTheFirstToAndNo) {
  const SplitCase cases[] = {
      {"砂と粘土の互層", 2, "砂", "粘土"},
      {"砂と粘土の互層（薄層）", 2, "砂", "粘土"},
      {"礫混り砂とシルト質粘土の互層", 2, "礫混り砂", "シルト質粘土"},
      // Without "と" both parts are empty; without "の" the second is.
      {"砂粘土互層", 2, "", ""},
      {"砂と粘土互層", 2, "砂", ""},
      // Only the text before the first "互層" counts.
      {"砂互層と粘土の互層", 2, "", ""},
      {"砂と粘土", 1, "砂と粘土", ""},
      {"", 1, "", ""},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.description);
    LayerParts parts = SplitLayerDescription(c.description);
    EXPECT_EQ(parts.count, c.count);
    EXPECT_EQ(parts.texts[0], c.first);
    EXPECT_EQ(parts.texts[1], c.second);
  }
}

TEST(ParseSoilName, ParsesBothComponentsOfAnAlternatingLayer) {
  auto words = ParseSoilName(Tables(), SplitLayerDescription("礫混り砂とシルト質粘土の互層"));
  EXPECT_EQ(words[0].quality, kNone);
  EXPECT_EQ(words[0].admixture, "礫混");
  EXPECT_EQ(words[0].mainName, "砂");
  EXPECT_EQ(words[1].quality, "シルト質");
  EXPECT_EQ(words[1].admixture, kNone);
  EXPECT_EQ(words[1].mainName, kNone);
}

TEST(ParseSoilName, LongestMainNameWinsAndEntryOrderBreaksTies) {
  // Entry 24 "砂礫" and entry 25 "粘土" are equally long: entry order decides,
  // not the place in the text. "シルト岩" is longer than "シルト".
  const SoilWordTables tables = Tables("950,x,砂礫,y\r\n951,x,粘土,y\r\n952,x,シルト岩,y\r\n953,x,礫,y\r\n");
  EXPECT_EQ(ParseOne(tables, "粘土砂礫").mainName, "砂礫");
  EXPECT_EQ(ParseOne(tables, "粘土").mainName, "粘土");
  EXPECT_EQ(ParseOne(tables, "礫混りシルト岩").mainName, "シルト岩");
  EXPECT_EQ(ParseOne(tables, "玉石").mainName, "玉石");
}

// The plain reading of the rule: every entry that occurs, longest first,
// first in entry order on ties.
std::string LongestByScan(const std::vector<SoilWord>& table, const std::string& text) {
  std::string best = "  ";
  int bestLength = 0;
  for (const SoilWord& entry : table) {
    int length = CharCount(entry.word);
    if (!entry.word.empty() && text.find(entry.word) != std::string::npos && length > bestLength) {
      best = entry.word;
      bestLength = length;
    }
  }
  return best;
}

TEST(ParseSoilName, IndexedMainNameSearchAgreesWithAScanOverRealDescriptions) {
  // Real descriptions, and a G10A.TXT made of pieces of them (with repeats),
  // so that many words of many lengths occur.
  RecordReader reader;
  ASSERT_TRUE(reader.Open((fs::path(K2V_TEST_DATA_DIR) / "layer_common_descriptions" / "X1.TXT").string()));
  std::vector<std::string> descriptions;
  for (;;) {
    reader.ReadRecord(4);
    if (reader.RecordPos == RecordReader::kEnd) break;
    descriptions.push_back(reader.Fields[4]);
  }
  ASSERT_GE(descriptions.size(), 300u);
  std::string g10a;
  int code = 1000;
  for (const std::string& d : descriptions) {
    int n = CharCount(d);
    for (int from = 0; from < n; from += 2) {
      const int c = code++;
      const int end = std::min(n, from + 1 + c % 4);
      const std::string piece = LeftCharsOf(d, end).substr(LeftCharsOf(d, std::max(0, end - (c % 4 + 1))).size());
      g10a += std::to_string(c % 30000) + ",x,\"" + piece + "\",y\r\n";
    }
  }
  const SoilWordTables tables = Tables(g10a);
  ASSERT_GT(tables.SoilNameTable.size(), 500u);
  for (const std::string& d : descriptions) {
    SCOPED_TRACE(d);
    EXPECT_EQ(LongestSoilName(tables, d), LongestByScan(tables.SoilNameTable, d));
  }
}

}  // namespace
}  // namespace k2v
