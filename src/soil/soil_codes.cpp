#include "soil/soil_codes.hpp"

#include <vector>

#include "soil/soil_name_parser.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

const std::vector<SoilWord>& TableOf(const SoilWordTables& tables, SoilTable table) {
  switch (table) {
    case SoilTable::SoilName: return tables.SoilNameTable;
    case SoilTable::QualityWord: return tables.QualityWordTable;
    case SoilTable::AdmixtureWord: break;
  }
  return tables.AdmixtureWordTable;
}

const SoilWordIndex& IndexOf(const SoilWordTables& tables, SoilTable table) {
  switch (table) {
    case SoilTable::SoilName: return tables.SoilNameIndex;
    case SoilTable::QualityWord: return tables.QualityWordIndex;
    case SoilTable::AdmixtureWord: break;
  }
  return tables.AdmixtureWordIndex;
}

// The code of the word's entry into code; code unchanged when not found.
void TakeCode(const SoilWordTables& tables, SoilTable table, const std::string& word, int& code) {
  if (int entry = LookupSoilWord(tables, table, word))
    code = TableOf(tables, table)[static_cast<size_t>(entry - 1)].code;
}

}  // namespace

LayerParts SplitLayerDescription(std::string_view description) {
  LayerParts parts;
  SplitAtFirstResult alternating = SplitAtFirst(description, "互層");
  if (alternating.position == 0) {
    parts.texts[0] = std::string(description);
    return parts;
  }
  parts.count = 2;
  SplitAtFirstResult first = SplitAtFirst(alternating.before, "と");
  parts.texts[0] = first.before;
  parts.texts[1] = SplitAtFirst(first.after, "の").before;
  return parts;
}

LayerCodes ClassifyLayer(const SoilWordTables& tables, const LayerParts& parts) {
  LayerCodes codes;
  std::array<SoilNameWords, 2> words = ParseSoilName(tables, parts);
  for (size_t k = 0; k < 2 && static_cast<int>(k) < parts.count; ++k) {
    TakeCode(tables, SoilTable::AdmixtureWord, words[k].admixture, codes.admixture[k]);
    TakeCode(tables, SoilTable::QualityWord, words[k].quality, codes.quality[k]);
    TakeCode(tables, SoilTable::SoilName, words[k].mainName, codes.main[k]);
    codes.lookedUp[k] = std::move(words[k].lookedUp);
  }
  return codes;
}

std::string LookedUpAlone(const SoilWordTables& tables, std::string_view word) {
  return ParseSoilName(tables, SplitLayerDescription(word))[0].lookedUp;
}

int LookupSoilWord(const SoilWordTables& tables, SoilTable table, std::string_view word) {
  if (TrimView(word).empty()) return 0;
  return IndexOf(tables, table).FirstEntry(word);
}

std::optional<std::int16_t> D12ACode(const SoilWordTables& tables, std::string_view name) {
  const int entry = tables.D12ACodeIndex.FirstEntry(name);
  if (entry == 0) return std::nullopt;
  return tables.D12ACodeTable[static_cast<size_t>(entry - 1)].code;
}

}  // namespace k2v
