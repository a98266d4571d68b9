// Makes the seed inputs of the fuzz targets from the project's own files, so
// that a run starts from real exports instead of from nothing.
//
//   fuzz_seeds conversion OUT FOLDER...  one input per export folder (and one
//                                        that converts twice into an existing
//                                        destination)
//   fuzz_seeds soil OUT FILE...          one input per layer description of
//                                        each X1.TXT, and with a G10A.TXT
//                                        beside it one with that vocabulary

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "export_layout.hpp"
#include "io/record_reader.hpp"
#include "test_support_core.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace fs = std::filesystem;

namespace {

// A seed name from the last depth components of the path, letters and digits kept.
std::string SeedName(const fs::path& path, int depth, const std::string& suffix) {
  std::vector<std::string> parts;
  fs::path p = path;
  for (int k = 0; k < depth && !p.filename().empty(); ++k, p = p.parent_path())
    parts.insert(parts.begin(), p.filename().string());
  std::string name;
  for (const std::string& part : parts) {
    if (!name.empty()) name += '-';
    for (char c : part) name += (std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
  }
  return name + suffix;
}

// The files of folder whose names the layout knows (the exact spelling
// first, else the first that matches ignoring case), in name order.
std::vector<k2v::fuzz::ExportFile> KnownFiles(const fs::path& folder, bool inDestination) {
  std::vector<k2v::fuzz::ExportFile> files;
  std::set<std::string> taken;
  std::vector<fs::path> entries;
  for (const auto& e : fs::directory_iterator(folder)) {
    if (e.is_regular_file()) entries.push_back(e.path());
  }
  std::sort(entries.begin(), entries.end());
  for (const fs::path& p : entries) {
    const std::string name = p.filename().string();
    std::string chosen;
    for (const char* known : k2v::fuzz::kExportNames) {
      if (name == known) chosen = known;
    }
    for (const char* known : k2v::fuzz::kExportNames) {
      if (chosen.empty() && k2v::SameNameIgnoringCase(name, known)) chosen = known;
    }
    if (chosen.empty() || !taken.insert(chosen).second) continue;
    files.push_back({chosen, k2v::test::ReadBytes(p), inDestination});
  }
  return files;
}

// Per export folder: the export alone; converted twice into an existing
// destination; and, when an "expected" folder stands beside it, converted
// over those files as an earlier conversion's.
int PackFolders(const fs::path& out, const std::vector<fs::path>& folders) {
  for (const fs::path& folder : folders) {
    k2v::fuzz::ExportLayout layout;
    layout.files = KnownFiles(folder, false);
    if (layout.files.empty()) continue;
    k2v::test::WriteBytes(out / SeedName(folder, 2, ""), k2v::fuzz::PackExportLayout(layout));
    layout.destinationExists = true;
    layout.convertTwice = true;
    k2v::test::WriteBytes(out / SeedName(folder, 2, "-twice"), k2v::fuzz::PackExportLayout(layout));
    const fs::path expected = folder.parent_path() / "expected";
    if (fs::is_directory(expected)) {
      for (auto& f : KnownFiles(expected, true)) layout.files.push_back(std::move(f));
      layout.convertTwice = false;
      k2v::test::WriteBytes(out / SeedName(folder, 2, "-over-earlier"), k2v::fuzz::PackExportLayout(layout));
    }
  }
  return 0;
}

int SoilSeeds(const fs::path& out, const std::vector<fs::path>& files) {
  for (const fs::path& file : files) {
    std::vector<std::string> descriptions;
    k2v::ForEachRecord(file.string(), 4, [&](const k2v::RecordReader& r) { descriptions.push_back(r.Fields[4]); });
    const fs::path g10a = file.parent_path() / "G10A.TXT";
    const std::string vocabulary = fs::exists(g10a) ? k2v::test::ReadBytes(g10a) : std::string();
    for (size_t k = 0; k < descriptions.size(); ++k) {
      const std::string bytes = k2v::test::Sjis(descriptions[k]);
      k2v::test::WriteBytes(out / SeedName(file, 3, "-" + std::to_string(k + 1)), std::string(1, '\0') + bytes);
      if (!vocabulary.empty()) {
        k2v::test::WriteBytes(out / SeedName(file, 3, "-g10a-" + std::to_string(k + 1)),
                              std::string(1, '\1') + vocabulary + '\xFF' + bytes);
      }
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: fuzz_seeds conversion|soil OUT PATH...\n");
    return 2;
  }
  const std::string mode = argv[1];
  const fs::path out = argv[2];
  fs::create_directories(out);
  std::vector<fs::path> paths(argv + 3, argv + argc);
  if (mode == "conversion") return PackFolders(out, paths);
  if (mode == "soil") return SoilSeeds(out, paths);
  std::fprintf(stderr, "fuzz_seeds: unknown mode %s\n", mode.c_str());
  return 2;
}
