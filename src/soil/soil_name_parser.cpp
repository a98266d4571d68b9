#include "soil/soil_name_parser.hpp"

#include <algorithm>
#include <vector>

#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// Text is UTF-8 throughout, so a byte match of one whole text inside another
// always starts and ends on character boundaries: searching bytes finds the
// same occurrences as searching characters.
constexpr std::string_view kJiri = "じり";
constexpr std::string_view kRi = "り";
constexpr std::string_view kQuality = "質";

constexpr auto kNone = std::string_view::npos;

// The text after a leading "じり" or "り" of rest; false when rest starts
// with neither (kept is then empty).
bool TakeAfterMarker(std::string_view rest, std::string_view& kept) {
  if (rest.starts_with(kJiri)) {
    kept = rest.substr(kJiri.size());
    return true;
  }
  if (rest.starts_with(kRi)) {
    kept = rest.substr(kRi.size());
    return true;
  }
  return false;
}

// Removes admixture words (each held up to its "混"); true when a table word
// was found.
bool RemoveAdmixtureWords(const SoilWordTables& tables, std::string& s, SoilNameWords& words) {
  bool found = false;
  for (const SoilWord& entry : tables.AdmixtureWordTable) {
    const std::string& w = entry.word;
    size_t at = s.find(w);
    if (at == kNone) continue;
    std::string_view after;
    TakeAfterMarker(std::string_view(s).substr(at + w.size()), after);
    s = s.substr(0, at) + std::string(after);
    words.admixture = w;
    found = true;
  }
  return found;
}

// Drops an admixture word that is not in the table: everything up to and
// including the first "混じり" or "混り".
void DropOtherAdmixture(std::string& s) {
  size_t mix = s.find(kMix);
  if (mix == kNone) return;
  std::string_view after;
  if (TakeAfterMarker(std::string_view(s).substr(mix + kMix.size()), after)) s = std::string(after);
}

// Removes the first quality word of the table that occurs, or else cuts the
// text after its first "質".
void RemoveQualityWord(const SoilWordTables& tables, std::string& s, SoilNameWords& words) {
  for (const SoilWord& entry : tables.QualityWordTable) {
    size_t at = s.find(entry.word);
    if (at == kNone) continue;
    s.erase(at, entry.word.size());
    words.quality = entry.word;
    return;
  }
  size_t mark = s.find(kQuality);
  if (mark != kNone) s.erase(0, mark + kQuality.size());
}

}  // namespace

std::string LongestSoilName(const SoilWordTables& tables, std::string_view text) {
  const auto& table = tables.SoilNameTable;
  const auto& index = tables.SoilNameIndex;

  // Every piece of text as long as some table word is looked up, longest
  // lengths first; the first length with a match holds the answer.
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
  }
  starts.push_back(text.size());
  const int chars = static_cast<int>(starts.size()) - 1;
  for (int length : index.LengthsLongestFirst()) {
    if (length > chars) continue;
    int best = 0;
    for (int i = 0; i + length <= chars; ++i) {
      size_t from = starts[static_cast<size_t>(i)];
      int entry = index.FirstEntry(text.substr(from, starts[static_cast<size_t>(i + length)] - from));
      if (entry != 0 && (best == 0 || entry < best)) best = entry;
    }
    if (best != 0) return table[static_cast<size_t>(best - 1)].word;
  }
  return "  ";
}

std::array<SoilNameWords, 2> ParseSoilName(const SoilWordTables& tables, const LayerParts& parts) {
  std::array<SoilNameWords, 2> result;
  const int count = std::clamp(parts.count, 0, 2);
  for (int i = 0; i < count; ++i) {
    SoilNameWords& words = result[static_cast<size_t>(i)];
    std::string s = parts.texts[static_cast<size_t>(i)];
    if (!RemoveAdmixtureWords(tables, s, words)) DropOtherAdmixture(s);
    if (s.empty()) continue;
    RemoveQualityWord(tables, s, words);
    if (s.empty()) continue;
    words.mainName = LongestSoilName(tables, s);
    words.lookedUp = std::move(s);
  }
  return result;
}

}  // namespace k2v
