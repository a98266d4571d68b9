// soil_coverage [--changes] [--uncoded] VOCABULARY_FOLDER LIST...
//
// A tool run by hand, not a test: the share of layers whose soil description
// gets a main soil code (M1 not three spaces), once with the built-in words
// alone and once with G10A.TXT of VOCABULARY_FOLDER, through the converter's
// own parser and lookup. A LIST is UTF-8 text, either "count<TAB>description"
// per line (.tsv) or comma-separated with a header line, the description
// first and the layer count last (.csv). --changes also prints every
// description whose main code the vocabulary changes, --uncoded every one
// left without a main code, with the part that was looked up.

#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "soil/soil_codes.hpp"
#include "test_support_core.hpp"

namespace {

struct Description {
  std::string text;
  long long layers = 0;
};

std::vector<Description> ReadList(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  const bool csv = path.size() > 4 && path.compare(path.size() - 4, 4, ".csv") == 0;
  std::vector<Description> list;
  std::string line;
  bool header = csv;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (header || line.empty()) {
      header = false;
      continue;
    }
    if (csv) {
      const size_t first = line.find(',');
      const size_t last = line.rfind(',');
      list.push_back({line.substr(0, first), std::stoll(line.substr(last + 1))});
    } else {
      const size_t tab = line.find('\t');
      list.push_back({line.substr(tab + 1), std::stoll(line.substr(0, tab))});
    }
  }
  return list;
}

int MainCode(const k2v::SoilWordTables& tables, const std::string& description) {
  return k2v::ClassifyLayer(tables, k2v::SplitLayerDescription(description)).main[0];
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool changes = false, uncoded = false;
  while (!args.empty() && (args[0] == "--changes" || args[0] == "--uncoded")) {
    (args[0] == "--changes" ? changes : uncoded) = true;
    args.erase(args.begin());
  }
  if (args.size() < 2) {
    std::cerr << "usage: soil_coverage [--changes] [--uncoded] VOCABULARY_FOLDER LIST...\n";
    return 2;
  }
  k2v::test::TempDir empty;
  k2v::SoilWordTables builtIn, starter;
  k2v::BuildSoilWordTables(builtIn, empty.folder());
  k2v::BuildSoilWordTables(starter, args[0]);
  for (size_t f = 1; f < args.size(); ++f) {
    long long total = 0, coded = 0, codedWith = 0;
    for (const Description& d : ReadList(args[f])) {
      const int before = MainCode(builtIn, d.text), after = MainCode(starter, d.text);
      total += d.layers;
      coded += before != -1 ? d.layers : 0;
      codedWith += after != -1 ? d.layers : 0;
      if (changes && before != after)
        std::cout << d.layers << "\t" << d.text << "\t" << before << " -> " << after << "\n";
      if (uncoded && after == -1) {
        const k2v::LayerCodes codes = k2v::ClassifyLayer(starter, k2v::SplitLayerDescription(d.text));
        std::cout << d.layers << "\t" << d.text << "\t" << codes.lookedUp[0] << "\n";
      }
    }
    std::cout << args[f] << ": " << total << " layers; with a main soil code: " << coded << " (" << std::fixed
              << std::setprecision(1) << 100.0 * coded / total << "%) built-in words alone, " << codedWith << " ("
              << 100.0 * codedWith / total << "%) with " << args[0] << "\n";
  }
  return 0;
}
