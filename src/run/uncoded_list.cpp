#include "run/uncoded_list.hpp"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/files.hpp"
#include "soil/starter_vocabulary.hpp"

namespace k2v {

namespace {

// A boring is named for the first three of them; the rest are counted.
constexpr size_t kBoringsNamed = 3;

// The text without the brackets, separators and spaces around its words.
std::string WordsOnly(const std::string& text) {
  std::string words = text;
  for (const char* mark : {"（", "）", "(", ")", "・", "、", "､", ",", " ", "　"}) {
    for (size_t at = words.find(mark); at != std::string::npos; at = words.find(mark))
      words.erase(at, std::strlen(mark));
  }
  return words;
}

}  // namespace

std::string UncodedRemedy(const UncodedSoilName& name) {
  // The parts of alternating layers are what comes before と and between
  // と and の: without them a part is empty.
  if (name.name.find("互層") != std::string::npos) {
    return "Kolbrix で「砂と粘土の互層」のように「と」と「の」で区切って書き直します。";
  }
  if (const std::optional<SoilWord> starter = StarterWordIn(name.lookedUp)) {
    return "G10A.TXT に「" + std::to_string(starter->code) + ",," + starter->word + ",」の行を追加します。";
  }
  // What is left once 質 and 混り are taken off is 土 or nothing: no word of
  // G10A.TXT can stand for it without standing for every soil.
  const std::string rest = WordsOnly(name.lookedUp);
  if (rest.empty() || rest == "土" || rest == "高土") {
    if (name.name.find("質") != std::string::npos) {
      return "主たる土質名の「質」までが外されて照合されるため、Kolbrix で「質」を含まない土質名に書き直します。";
    }
    return "照合する主たる土質名が残らないため、Kolbrix で土質名を書き直します。";
  }
  return "Vantor の土質コードを決めて、G10A.TXT に「コード,," + name.lookedUp + ",」の行を追加します。";
}

std::string CsvField(const std::string& text) {
  std::string field = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      field += "\"\"";
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      field += " | ";
    } else {
      field += c;
    }
  }
  return field + "\"";
}

void UncodedList::Add(const std::string& boring, const std::vector<UncodedSoilName>& names) {
  for (const UncodedSoilName& name : names) {
    auto row = std::find_if(rows_.begin(), rows_.end(), [&](const Row& r) { return r.name.name == name.name; });
    if (row == rows_.end()) {
      rows_.push_back(Row{name, 1, {boring}});
      continue;
    }
    row->name.layers += name.layers;
    ++row->boringCount;
    if (row->borings.size() < kBoringsNamed) row->borings.push_back(boring);
  }
}

std::string UncodedList::Csv() const {
  std::vector<const Row*> sorted;
  for (const Row& r : rows_) sorted.push_back(&r);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const Row* a, const Row* b) { return a->name.layers > b->name.layers; });
  // The byte order mark tells a spreadsheet program that the text is UTF-8.
  std::string csv = "\xEF\xBB\xBF";
  csv += "土質名（記載のまま）,照合した語,層数,ボーリング数,ボーリング（先頭 3 本）,対処\r\n";
  for (const Row* r : sorted) {
    std::string borings;
    for (const std::string& b : r->borings) borings += (borings.empty() ? "" : "\n") + b;
    csv += CsvField(r->name.name) + "," + CsvField(r->name.lookedUp) + "," + std::to_string(r->name.layers) + "," +
           std::to_string(r->boringCount) + "," + CsvField(borings) + "," + CsvField(UncodedRemedy(r->name)) + "\r\n";
  }
  return csv;
}

void WriteUncodedList(const std::string& path, const std::string& boring, const std::vector<UncodedSoilName>& names) {
  UncodedList list;
  list.Add(boring, names);
  WriteFileInOneStep(path, list.Csv());
}

}  // namespace k2v
