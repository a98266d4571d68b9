#pragma once
// The soil word tables: main soil names, quality words (質), admixture words
// (混り) and the D12A names, each with Vantor's code.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace k2v {

// 混, with which an admixture word begins its ending: the tables keep their
// admixture words up to it (砂混り is compared as 砂混), and the parser takes
// an admixture word to end after 混り or 混じり.
inline constexpr std::string_view kMix = "混";

struct SoilWord {
  std::string word;
  std::int16_t code = 0;
};

// Where each word of a table first stands. Lookups take the first entry
// whose word matches, so a word added again later in the table (a G10A.TXT
// word equal to a built-in one) is never the one found.
class SoilWordIndex {
 public:
  void Rebuild(const std::vector<SoilWord>& table);
  // Entry number (from 1) of the first entry whose word equals word; 0 when
  // there is none.
  int FirstEntry(std::string_view word) const;
  // The distinct character lengths of the non-empty words, longest first.
  const std::vector<int>& LengthsLongestFirst() const { return lengths_; }

 private:
  struct WordHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view word) const { return std::hash<std::string_view>{}(word); }
  };
  std::unordered_map<std::string, int, WordHash, std::equal_to<>> first_;
  std::vector<int> lengths_;
};

// Entry k (from 1) of a table is element k - 1. Only the row the converter
// uses is kept. The lookups go through the indexes: whoever changes the words
// of a table after BuildSoilWordTables rebuilds its index.
struct SoilWordTables {
  std::vector<SoilWord> SoilNameTable;
  std::vector<SoilWord> QualityWordTable;
  std::vector<SoilWord> AdmixtureWordTable;
  std::vector<SoilWord> D12ACodeTable;

  SoilWordIndex SoilNameIndex;
  SoilWordIndex QualityWordIndex;
  SoilWordIndex AdmixtureWordIndex;
  SoilWordIndex D12ACodeIndex;

  void RebuildIndexes();
};

// Builds all four tables afresh from the built-in words and G10A.TXT and
// D12A.TXT of the vocabulary folder (with or without its final separator),
// with their indexes; a run builds them once and only reads them afterwards.
// Each admixture word is held up to and including its first "混" (砂混り as
// 砂混): that is the word the parser looks for and reports. A missing or
// empty extension file adds nothing and is not created; a record whose code
// is not a whole number from -32768 to 32767, or that the file ends in before
// all its items, is left out. Throws FileError when an extension file exists
// but cannot be read.
void BuildSoilWordTables(SoilWordTables& tables, const std::string& vocabularyPath);

}  // namespace k2v
