#include "soil/soil_word_tables.hpp"

#include <algorithm>
#include <optional>

#include "io/record_reader.hpp"
#include "platform/files.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// Vantor's main soil classes, rock classes and special materials.
const SoilWord kBuiltInSoilNames[] = {
    {"表土", 0},         {"埋土", 1},
    {"廃棄土", 2},       {"浮石", 10},
    {"シラス", 20},      {"スコリア", 30},
    {"火山灰", 40},      {"ローム", 50},
    {"黒ボク", 60},      {"マサ", 70},
    {"硬岩", 91},        {"中硬岩", 92},
    {"軟岩", 93},        {"玉石", 94},
    {"礫", 100},         {"礫質土", 200},
    {"砂", 300},         {"砂質土", 400},
    {"シルト", 500},     {"粘性土", 600},
    {"有機質土", 700},   {"火山灰質粘性土", 800},
    {"高有機質土", 900},
};

const SoilWord kBuiltInQualityWords[] = {
    {"砂質", 10}, {"シルト質", 20}, {"粘土質", 30}, {"有機質", 40}, {"火山灰質", 50},
};

// As Vantor's list spells them; the tables hold them up to their "混".
const SoilWord kBuiltInAdmixtureWords[] = {
    {"玉石混り", 1}, {"礫混り", 2},       {"砂混り", 3},     {"シルト混り", 4},
    {"粘土混り", 5}, {"有機質土混り", 6}, {"火山灰混り", 7}, {"貝殻混り", 8},
};

// A code field: optional spaces, an optional sign, ASCII digits, optional
// spaces, and a value from -32768 to 32767.
std::optional<std::int16_t> ParseCode(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long value = 0;
  size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    value = value * 10 + (text[i] - '0');
    if (value > 32768) return std::nullopt;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (digits == 0 || i != text.size()) return std::nullopt;
  if (negative) value = -value;
  if (value > 32767) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

// The complete records of n items of an extension file, in file order; a
// record cut short by the end of the file is left out. A missing or empty
// file gives none and is left as it is (not created, not deleted).
std::vector<std::vector<std::string>> ReadExtensionRecords(const std::string& path, int n) {
  std::vector<std::vector<std::string>> records;
  ForEachRecord(path, n, [&](const RecordReader& r) {
    if (r.RecordComplete) records.emplace_back(r.Fields.begin() + 1, r.Fields.begin() + 1 + n);
  });
  return records;
}

}  // namespace

void SoilWordIndex::Rebuild(const std::vector<SoilWord>& table) {
  first_.clear();
  lengths_.clear();
  first_.reserve(table.size());
  for (size_t k = 0; k < table.size(); ++k) {
    const std::string& word = table[k].word;
    if (!first_.try_emplace(word, static_cast<int>(k + 1)).second || word.empty()) continue;
    int length = CharCount(word);
    if (std::find(lengths_.begin(), lengths_.end(), length) == lengths_.end()) lengths_.push_back(length);
  }
  std::sort(lengths_.begin(), lengths_.end(), std::greater<>());
}

int SoilWordIndex::FirstEntry(std::string_view word) const {
  if (first_.empty()) return 0;  // an empty table (no D12A.TXT): nothing to hash
  auto found = first_.find(word);
  return found == first_.end() ? 0 : found->second;
}

void SoilWordTables::RebuildIndexes() {
  SoilNameIndex.Rebuild(SoilNameTable);
  QualityWordIndex.Rebuild(QualityWordTable);
  AdmixtureWordIndex.Rebuild(AdmixtureWordTable);
  D12ACodeIndex.Rebuild(D12ACodeTable);
}

void BuildSoilWordTables(SoilWordTables& tables, const std::string& vocabularyPath) {
  tables = SoilWordTables{};

  tables.SoilNameTable.assign(std::begin(kBuiltInSoilNames), std::end(kBuiltInSoilNames));
  // G10A.TXT: code, (ignored), soil name, (ignored).
  for (auto& record : ReadExtensionRecords(JoinPath(vocabularyPath, "G10A.TXT"), 4)) {
    if (auto code = ParseCode(record[0])) tables.SoilNameTable.push_back({std::move(record[2]), *code});
  }

  tables.QualityWordTable.assign(std::begin(kBuiltInQualityWords), std::end(kBuiltInQualityWords));
  tables.AdmixtureWordTable.assign(std::begin(kBuiltInAdmixtureWords), std::end(kBuiltInAdmixtureWords));
  for (SoilWord& entry : tables.AdmixtureWordTable) {
    if (size_t mix = entry.word.find(kMix); mix != std::string::npos) entry.word.resize(mix + kMix.size());
  }

  // D12A.TXT: code, name, (ignored).
  for (auto& record : ReadExtensionRecords(JoinPath(vocabularyPath, "D12A.TXT"), 3)) {
    if (auto code = ParseCode(record[0])) tables.D12ACodeTable.push_back({std::move(record[1]), *code});
  }

  tables.RebuildIndexes();
}

}  // namespace k2v
