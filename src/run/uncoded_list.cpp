#include "run/uncoded_list.hpp"

#include <algorithm>

#include "platform/files.hpp"

namespace k2v {

namespace {
// A boring is named for the first three of them; the rest are counted in
// the layers only.
constexpr size_t kBoringsNamed = 3;
}  // namespace

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
      rows_.push_back(Row{name, {boring}});
      continue;
    }
    row->name.layers += name.layers;
    if (row->borings.size() < kBoringsNamed && row->borings.back() != boring) row->borings.push_back(boring);
  }
}

std::string UncodedList::Csv() const {
  std::vector<const Row*> sorted;
  for (const Row& r : rows_) sorted.push_back(&r);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const Row* a, const Row* b) { return a->name.layers > b->name.layers; });
  // The byte order mark tells a spreadsheet program that the text is UTF-8.
  std::string csv = "\xEF\xBB\xBF";
  csv += "soil name,looked up,layers,borings\r\n";
  for (const Row* r : sorted) {
    std::string borings;
    for (const std::string& b : r->borings) borings += (borings.empty() ? "" : "\n") + b;
    csv += CsvField(r->name.name) + "," + CsvField(r->name.lookedUp) + "," + std::to_string(r->name.layers) + "," +
           CsvField(borings) + "\r\n";
  }
  return csv;
}

void WriteUncodedList(const std::string& path, const std::string& boring, const std::vector<UncodedSoilName>& names) {
  UncodedList list;
  list.Add(boring, names);
  WriteFileInOneStep(path, list.Csv());
}

}  // namespace k2v
