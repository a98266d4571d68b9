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

// The main soil names the program knows without G10A.TXT: entries 1 to 23.
inline constexpr int kBuiltInSoilNameCount = 23;
// The most entries G10A.TXT adds to the main soil names (1000 in all with
// the built-in ones), and the most names D12A.TXT holds.
inline constexpr int kMaxG10AEntries = 977;
inline constexpr int kMaxD12AEntries = 200;

// Why a line of an extension file adds nothing that a description can find,
// or why the file as a whole does not read as its author meant.
enum class VocabularyProblemKind {
  NoCode,       // the first item is not a whole number from -32768 to 32767
  EmptyWord,    // G10A.TXT: the word (item 3) is empty
  CutWord,      // G10A.TXT: the parser cuts the word before the lookup
  BeyondLimit,  // the file holds more entries than its table takes
  CutShort,     // the file ends inside this record
  Utf8,         // the file is UTF-8 (the whole file; line 0)
  Utf8Bom,      // the file is UTF-8 with a byte order mark (line 0)
  Utf16,        // the file is UTF-16 (line 0)
  NotShiftJis,  // this line holds bytes that are no Shift-JIS character
};

struct VocabularyProblem {
  VocabularyProblemKind kind = VocabularyProblemKind::NoCode;
  // Line of the file (from 1) where the record begins; 0 for the file.
  int line = 0;
  // NoCode: the code item; CutWord: the word.
  std::string text{};
  // CutWord: what the parser looks up when the word alone is a description.
  std::string lookedUp{};
};

// What reading one extension file found.
struct ExtensionFileRead {
  // The file's path, in its spelling on the disk when it exists.
  std::string path;
  bool exists = false;
  // Entries it added to its table.
  int entries = 0;
  std::vector<VocabularyProblem> problems{};
};

struct VocabularyRead {
  ExtensionFileRead g10a;
  ExtensionFileRead d12a;
};

// Builds all four tables afresh from the built-in words and G10A.TXT and
// D12A.TXT of the vocabulary folder (with or without its final separator),
// with their indexes; a run builds them once and only reads them afterwards.
// Each admixture word is held up to and including its first "混" (砂混り as
// 砂混): that is the word the parser looks for and reports. A missing or
// empty extension file adds nothing and is not created; a record whose code
// is not a whole number from -32768 to 32767, or that the file ends in before
// all its items, is left out, and so is every record after the 977th entry
// of G10A.TXT and the 200th of D12A.TXT. When read is given, it tells what
// each file held and every line that adds nothing a description can find.
// Throws FileError when an extension file exists but cannot be read.
void BuildSoilWordTables(SoilWordTables& tables, const std::string& vocabularyPath, VocabularyRead* read = nullptr);
// The same from the bytes of the two files (empty for a missing file).
void BuildSoilWordTablesFromBytes(SoilWordTables& tables, const std::string& g10aBytes, const std::string& d12aBytes,
                                  VocabularyRead* read = nullptr);

}  // namespace k2v
