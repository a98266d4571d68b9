// The soil name parser and the layer classification on any description.
// Input: one mode byte, then the description (CP932). With the mode byte's
// low bit clear, the tables are the built-in ones (built once from an empty
// vocabulary folder); with it set, the bytes up to the first 0xFF are a
// G10A.TXT of extra soil names and the rest is the description.
//  - Every word found is "  " or a word of its table, and a component beyond
//    the count keeps "  ".
//  - ClassifyLayer gives the codes of the first table entries of exactly
//    those words.
//  - LongestSoilName (the indexed search) agrees with a plain scan of the
//    table: the longest word in characters that occurs, the first in entry
//    order among equally long ones.
//  - An alternating layer (互層) splits into pieces of the description.
//  - Main codes take three columns.
//  - What reading the G10A.TXT tells: its entries are those the table took
//    (at most 977), its problems stand in line order on lines of the file
//    (line 0 only for a file that is not Shift-JIS as a whole), and a word
//    told as cut is looked up as something else.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/layer_table.hpp"
#include "soil/soil_codes.hpp"
#include "soil/soil_name_parser.hpp"
#include "soil/soil_word_tables.hpp"
#include "test_support_core.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

using k2v::test::Check;
using k2v::test::Escaped;

namespace {

const k2v::SoilWordTables& BuiltInTables() {
  static const k2v::SoilWordTables* tables = [] {
    auto* t = new k2v::SoilWordTables;
    k2v::test::TempDir vocabulary("k2v-fuzz-soil-vocabulary");
    k2v::BuildSoilWordTables(*t, vocabulary.path().string() + "/");
    Check(!t->SoilNameTable.empty() && !t->QualityWordTable.empty() && !t->AdmixtureWordTable.empty(),
          "the built-in tables are empty");
    Check(t->D12ACodeTable.empty(), "an empty vocabulary folder gave D12A names");
    return t;
  }();
  return *tables;
}

// The first entry (from 1) whose word equals word; 0 for none.
int FirstEntryOf(const std::vector<k2v::SoilWord>& table, const std::string& word) {
  for (size_t k = 0; k < table.size(); ++k) {
    if (table[k].word == word) return static_cast<int>(k + 1);
  }
  return 0;
}

bool IsWordOf(const std::vector<k2v::SoilWord>& table, const std::string& word) {
  return word == "  " || FirstEntryOf(table, word) != 0;
}

// The code the classification gives a word, or fallback when the word has
// no entry (or is blank).
int CodeOf(const std::vector<k2v::SoilWord>& table, const std::string& word, int fallback) {
  if (k2v::Trim(word).empty()) return fallback;
  const int entry = FirstEntryOf(table, word);
  return entry == 0 ? fallback : table[static_cast<size_t>(entry - 1)].code;
}

std::string LongestByScan(const std::vector<k2v::SoilWord>& table, std::string_view text) {
  const k2v::SoilWord* best = nullptr;
  int bestLength = 0;
  for (const k2v::SoilWord& entry : table) {
    if (entry.word.empty() || text.find(entry.word) == std::string_view::npos) continue;
    const int length = k2v::CharCount(entry.word);
    if (length > bestLength) {
      best = &entry;
      bestLength = length;
    }
  }
  return best ? best->word : std::string("  ");
}

void CheckLongest(const k2v::SoilWordTables& tables, const std::string& text) {
  const std::string indexed = k2v::LongestSoilName(tables, text);
  const std::string scanned = LongestByScan(tables.SoilNameTable, text);
  Check(indexed == scanned, "LongestSoilName of " + Escaped(text) + " is " + Escaped(indexed) +
                                ", the table scan finds " + Escaped(scanned));
}

void CheckDescription(const k2v::SoilWordTables& tables, const std::string& text) {
  const k2v::LayerParts parts = k2v::SplitLayerDescription(text);
  if (text.find("互層") == std::string::npos) {
    Check(parts.count == 1 && parts.texts[0] == text && parts.texts[1].empty(), "a plain layer was split");
  } else {
    Check(parts.count == 2, "an alternating layer gave " + std::to_string(parts.count) + " parts");
    for (const std::string& part : parts.texts) {
      Check(text.find(part) != std::string::npos, "part " + Escaped(part) + " is not in " + Escaped(text));
    }
  }

  const std::array<k2v::SoilNameWords, 2> words = k2v::ParseSoilName(tables, parts);
  for (size_t k = 0; k < 2; ++k) {
    const k2v::SoilNameWords& w = words[k];
    if (static_cast<int>(k) >= parts.count) {
      Check(w.quality == "  " && w.admixture == "  " && w.mainName == "  ", "a component beyond the count has words");
      continue;
    }
    Check(IsWordOf(tables.QualityWordTable, w.quality), "quality word " + Escaped(w.quality) + " is not in its table");
    Check(IsWordOf(tables.AdmixtureWordTable, w.admixture),
          "admixture word " + Escaped(w.admixture) + " is not in its table");
    Check(IsWordOf(tables.SoilNameTable, w.mainName), "main name " + Escaped(w.mainName) + " is not in its table");
    if (w.admixture != "  ") {
      Check(w.admixture.ends_with("混"), "admixture word " + Escaped(w.admixture) + " was not shortened to its 混");
    }
  }

  const k2v::LayerCodes codes = k2v::ClassifyLayer(tables, parts);
  for (size_t k = 0; k < 2; ++k) {
    const bool used = static_cast<int>(k) < parts.count;
    const int main = used ? CodeOf(tables.SoilNameTable, words[k].mainName, -1) : -1;
    const int quality = used ? CodeOf(tables.QualityWordTable, words[k].quality, 0) : 0;
    const int admixture = used ? CodeOf(tables.AdmixtureWordTable, words[k].admixture, 0) : 0;
    Check(codes.main[k] == main,
          "main code " + std::to_string(codes.main[k]) + " of " + Escaped(text) + ", expected " + std::to_string(main));
    Check(codes.quality[k] == quality, "quality code " + std::to_string(codes.quality[k]) + " of " + Escaped(text));
    Check(codes.admixture[k] == admixture,
          "admixture code " + std::to_string(codes.admixture[k]) + " of " + Escaped(text));
    const std::string column = k2v::MainCodeText(codes.main[k]);
    Check(k2v::SjisLen(column) == 3, "main code " + std::to_string(codes.main[k]) + " written as " + Escaped(column));
  }

  CheckLongest(tables, text);
  for (int k = 0; k < parts.count; ++k) CheckLongest(tables, parts.texts[static_cast<size_t>(k)]);
}

void CheckRead(const k2v::SoilWordTables& tables, const k2v::VocabularyRead& read, std::string_view bytes) {
  using Kind = k2v::VocabularyProblemKind;
  const auto& file = read.g10a;
  const size_t added = tables.SoilNameTable.size() - BuiltInTables().SoilNameTable.size();
  Check(file.entries >= 0 && static_cast<size_t>(file.entries) == added && file.entries <= k2v::kMaxG10AEntries,
        "G10A.TXT told " + std::to_string(file.entries) + " entries and added " + std::to_string(added));
  int lines = 1;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))) ++lines;
  }
  int last = 0;
  for (const k2v::VocabularyProblem& p : file.problems) {
    const bool wholeFile = p.kind == Kind::Utf8 || p.kind == Kind::Utf8Bom || p.kind == Kind::Utf16;
    Check(wholeFile == (p.line == 0),
          "problem " + std::to_string(static_cast<int>(p.kind)) + " on line " + std::to_string(p.line));
    Check(p.line >= last && p.line <= lines, "problem on line " + std::to_string(p.line) + " after line " +
                                                 std::to_string(last) + " of " + std::to_string(lines));
    last = p.line;
    if (p.kind == Kind::CutWord) Check(p.lookedUp != p.text, "the cut word " + Escaped(p.text) + " is looked up whole");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((data[0] & 1) == 0) {
    CheckDescription(BuiltInTables(), k2v::test::FromSjis(rest));
    return 0;
  }
  const size_t cut = rest.find('\xFF');
  const std::string_view vocabularyBytes = rest.substr(0, cut);
  const std::string_view description = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
  k2v::test::TempDir vocabulary("k2v-fuzz-soil");
  k2v::test::WriteBytes(vocabulary / "G10A.TXT", vocabularyBytes);
  k2v::SoilWordTables tables;
  k2v::VocabularyRead read;
  k2v::BuildSoilWordTables(tables, vocabulary.path().string() + "/", &read);
  Check(tables.SoilNameTable.size() >= BuiltInTables().SoilNameTable.size(), "G10A.TXT took built-in soil names away");
  CheckRead(tables, read, vocabularyBytes);
  CheckDescription(tables, k2v::test::FromSjis(description));
  return 0;
}
