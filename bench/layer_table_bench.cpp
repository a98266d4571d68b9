// The layer table over a generated X1.TXT of 200,000 layers, with a G10A.TXT
// of 1,000 extra soil names; reports layers per second.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "convert/boring_records.hpp"
#include "soil/soil_word_tables.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace {

namespace fs = std::filesystem;

constexpr long kLayers = 200000;

struct BenchFolders {
  fs::path root;
  std::string source;
  std::string vocabulary;
  std::string destination;
};

void WriteCp932(const fs::path& path, const std::string& text) {
  std::string bytes;
  k2v::EncodeCp932Append(text, bytes);
  std::ofstream(path, std::ios::binary) << bytes;
}

const BenchFolders& Folders() {
  static const BenchFolders folders = [] {
    BenchFolders f;
    f.root = fs::temp_directory_path() / "k2v-layer-bench";
    for (const char* sub : {"source", "vocabulary", "destination"}) fs::create_directories(f.root / sub);
    f.source = (f.root / "source").string() + "/";
    f.vocabulary = (f.root / "vocabulary").string() + "/";
    f.destination = (f.root / "destination").string() + "/";

    const char* descriptions[] = {"砂混りシルト",
                                  "礫混じり砂質シルト",
                                  "シルト質砂",
                                  "玉石混り砂礫",
                                  "砂と粘土の互層",
                                  "砂混り粘土混りシルト",
                                  "有機質土",
                                  "火山灰質粘性土",
                                  "表土",
                                  "風化岩",
                                  "礫混り砂とシルト質粘土の互層",
                                  "粘土"};
    std::string x1;
    for (long i = 1; i <= kLayers; ++i) {
      x1 += std::to_string(i) + "," + std::to_string(i % 997) + ".50,0," + descriptions[i % 12] + "\r\n";
    }
    WriteCp932(f.root / "source" / "X1.TXT", x1);

    std::string g10a;
    for (int k = 0; k < 1000; ++k) g10a += std::to_string(1000 + k) + ",x,岩種" + std::to_string(k) + ",y\r\n";
    g10a += "950,x,風化岩,y\r\n";
    WriteCp932(f.root / "vocabulary" / "G10A.TXT", g10a);
    return f;
  }();
  return folders;
}

void BM_ConvertLayerTable(benchmark::State& state) {
  const BenchFolders& folders = Folders();
  k2v::ConversionContext ctx;
  ctx.SourceFolder = folders.source;
  ctx.DestinationPath = folders.destination;
  for (auto _ : state) {
    k2v::BuildSoilWordTables(ctx.SoilTables, folders.vocabulary);
    k2v::ConvertLayerTable(ctx);
  }
  state.counters["layers/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kLayers), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ConvertLayerTable)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
