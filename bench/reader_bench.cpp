// The record reader over a generated 50 MB CP932 layer file; reports MB/s.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "io/record_reader.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace {

namespace fs = std::filesystem;

const fs::path& SampleFile() {
  static const fs::path path = [] {
    fs::path p = fs::temp_directory_path() / "k2v-reader-bench-X1.TXT";
    const char* descriptions[] = {"砂混りシルト",   "礫混じり砂質シルト", "シルト質砂", "玉石混り砂礫",
                                  "砂と粘土の互層", "\"粘土,シルト\"",    "ｼﾙﾄ質砂",    "表土"};
    std::string bytes;
    for (long i = 1; bytes.size() < 50L * 1000 * 1000; ++i) {
      std::string line = std::to_string(i) + ", " + std::to_string(i % 997) + ".50,0," + descriptions[i % 8] + "\r\n";
      k2v::EncodeCp932Append(line, bytes);
    }
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }();
  return path;
}

void BM_ReadRecords(benchmark::State& state) {
  const fs::path& path = SampleFile();
  const auto size = static_cast<int64_t>(fs::file_size(path));
  for (auto _ : state) {
    k2v::RecordReader reader;
    reader.Open(path.string());
    long records = 0;
    for (;;) {
      reader.ReadRecord(4);
      if (reader.RecordPos == k2v::RecordReader::kEnd) break;
      ++records;
    }
    benchmark::DoNotOptimize(records);
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_ReadRecords)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
