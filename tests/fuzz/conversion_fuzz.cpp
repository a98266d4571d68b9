// A whole conversion run over an export folder made from the input (see
// export_layout.hpp), into a destination that is new, or empty, or holds
// files an earlier run or a person left, with a front end that answers Yes.
// Besides not crashing or hanging:
//  - the run finishes (its folders are readable and writable, so nothing
//    may fail);
//  - the export folder is byte for byte as it was, and nothing outside the
//    destination folder changed (the system folder, the item lists, the
//    vocabulary folder, the destination's parents);
//  - the destination holds no working folder, no intermediate N file and no
//    copy of the title files afterwards, and every file the converters wrote
//    is lines ended by CR LF (no lone CR or LF inside a line);
//  - with bit 6 of the first byte, a second run of the same export into the
//    same destination also finishes and leaves the destination as the first
//    left it.
// The system folder's Radudi32.ini names a copy of examples/RADUDI, so the
// X6 records are converted.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "export_layout.hpp"
#include "run/conversion_run.hpp"
#include "run/front_end.hpp"
#include "run/paths.hpp"
#include "test_support_core.hpp"
#include "text/sjis_text.hpp"

#ifndef K2V_EXAMPLES_DIR
#error "K2V_EXAMPLES_DIR names the project's examples folder"
#endif

namespace fs = std::filesystem;
using k2v::test::Check;

namespace {

struct ItemLists {
  std::string l9;
  std::string l22;
};

const ItemLists& Lists() {
  static const ItemLists lists{k2v::test::ReadBytes(fs::path(K2V_EXAMPLES_DIR) / "RADUDI" / "L9.txt"),
                               k2v::test::ReadBytes(fs::path(K2V_EXAMPLES_DIR) / "RADUDI" / "L22.txt")};
  return lists;
}

// One layer of sand, for an export whose x1.txt the input left empty.
constexpr std::string_view kDefaultLayer = "1,1.00,0,\x8D\xBB\r\n";

void EnsureLayerData(std::vector<k2v::fuzz::ExportFile>& files) {
  for (auto& f : files) {
    if (f.name == "x1.txt" && !f.inDestination) {
      if (f.bytes.empty()) f.bytes = kDefaultLayer;
      return;
    }
  }
  for (auto& f : files) {
    if (f.name == "X1.TXT" && !f.inDestination && !f.bytes.empty()) return;
  }
  files.push_back({"x1.txt", std::string(kDefaultLayer), false});
}

// The vocabulary folder of a run: the destination's first four components,
// each followed by the separator.
std::string VocabularyFolderOf(const std::string& destination) {
  std::vector<std::string> components = k2v::SplitByDelimiter(destination, "/");
  std::string folder;
  for (size_t k = 0; k < 4; ++k) folder += (k < components.size() ? components[k] : std::string()) + "/";
  return folder;
}

bool ExistsIgnoringCase(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (k2v::SameNameIgnoringCase(entry.path().filename().string(), name)) return true;
  }
  return false;
}

// The files the converters write (not copies): lines of CP932 text, each
// ended by CR LF, with no other CR or LF.
constexpr const char* kWrittenFiles[] = {
    "D10.txt", "D10B.txt", "G10.txt", "CNT.TXT", "CNT2.TXT", "Titl1.txt", "Titl2.txt", "D11.TXT", "D20.TXT",
    "D12.TXT", "D30.TXT",  "G50.TXT", "D70.TXT", "D80.TXT",  "G90.TXT",   "D60.TXT",   "G30.txt", "G31.txt",
    "G32.txt", "G33.txt",  "G34.txt", "G35.txt", "G41.txt",  "G72.txt",   "D40.txt",   "G40.txt",
};

bool IsWrittenFile(const std::string& name) {
  for (const char* written : kWrittenFiles) {
    if (k2v::SameNameIgnoringCase(name, written)) return true;
  }
  return false;
}

void CheckLineEnds(const std::string& name, const std::string& bytes) {
  size_t start = 0;
  size_t line = 1;
  while (start < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", start);
    Check(end != std::string::npos, name + ": line " + std::to_string(line) + " has no line end");
    Check(bytes.compare(end, 2, "\r\n") == 0, name + ": line " + std::to_string(line) + " is ended by a lone " +
                                                  (bytes[end] == '\r' ? "CR" : "LF") + ": " +
                                                  k2v::test::Escaped(bytes.substr(start, end + 1 - start)));
    start = end + 2;
    ++line;
  }
}

// inputs: the bytes of every file the export and the destination held before
// the run, so that a copy of one of them is not taken for a written file.
void CheckDestination(const fs::path& dest, const std::vector<std::string>& inputs) {
  for (const auto& entry : fs::directory_iterator(dest)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || !IsWrittenFile(name)) continue;
    const std::string bytes = k2v::test::ReadBytes(entry.path());
    bool copy = false;
    for (const std::string& input : inputs) copy = copy || input == bytes;
    if (!copy) CheckLineEnds(name, bytes);
  }
  Check(fs::is_directory(dest), "the destination folder is missing after the run");
  for (const auto& entry : fs::directory_iterator(dest)) {
    Check(entry.path().filename().string() != ".kolbrix2vantor-work", "the working folder is left in the destination");
  }
  for (const char* intermediate :
       {"N2.TXT", "N3.TXT", "N4.TXT", "N5.TXT", "N7.TXT", "N8.TXT", "N9.TXT", "N11.TXT", "N12.TXT"}) {
    Check(!ExistsIgnoringCase(dest, intermediate),
          std::string("the intermediate file ") + intermediate + " is left in the destination");
  }
  for (const char* title : {"titl01.txt", "titl02.txt", "titl03.txt"}) {
    Check(!ExistsIgnoringCase(dest, title), std::string("the title copy ") + title + " is left in the destination");
  }
}

bool IsX1Name(const std::string& name) {
  return name.size() == 6 && (name[0] == 'x' || name[0] == 'X') && name[1] == '1' && name[2] == '.' &&
         (name[3] == 't' || name[3] == 'T') && (name[4] == 'x' || name[4] == 'X') && (name[5] == 't' || name[5] == 'T');
}

void RunOnce(const fs::path& root, const std::string& system, const fs::path& exportFolder, const fs::path& dest,
             const char* which) {
  // From inside the case's folder, so that a file written by a relative
  // path shows up in the snapshot instead of wherever the fuzzer was started.
  const fs::path startedIn = fs::current_path();
  fs::current_path(root);
  k2v::test::RecordingFrontEnd ui;
  ui.unanswered = k2v::MessageAnswer::Yes;
  k2v::ConversionRun run(ui, k2v::NativePathRules(), k2v::RunOptions{system});
  const k2v::RunResult result = run.Run(exportFolder.string(), dest.string());
  fs::current_path(startedIn);
  Check(result.outcome == k2v::RunOutcome::Finished,
        std::string("the ") + which + " run did not finish (" +
            (result.outcome == k2v::RunOutcome::Failed ? "failed" : "refused") +
            "): " + (ui.messages.empty() ? "" : ui.messages.back().text + " [" + ui.messages.back().title + "]"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  k2v::fuzz::ExportLayout layout = k2v::fuzz::ParseExportLayout(data, size);
  EnsureLayerData(layout.files);

  k2v::test::TempDir root("k2v-fuzz-run");
  const fs::path exportFolder = root / "export";
  const fs::path systemFolder = root / "system";
  const fs::path radudi = root / "radudi";
  const fs::path destRelative = fs::path("v") / "w" / "x" / "dest";
  const fs::path dest = root.path() / destRelative;
  fs::create_directories(exportFolder);
  fs::create_directories(systemFolder);
  fs::create_directories(radudi);
  fs::create_directories(dest.parent_path());
  bool destinationFiles = false;
  for (const auto& f : layout.files) destinationFiles = destinationFiles || f.inDestination;
  if (layout.destinationExists || destinationFiles) fs::create_directories(dest);
  k2v::test::WriteBytes(radudi / "L9.txt", Lists().l9);
  k2v::test::WriteBytes(radudi / "L22.txt", Lists().l22);
  k2v::test::WriteBytes(systemFolder / "Radudi32.ini", "[RADUDI]\r\n" + radudi.string() + "/\r\n");

  // The run reads G10A.TXT and D12A.TXT from the destination's first four
  // components: inside the case folder when $TMPDIR is at most two levels deep.
  const std::string vocabulary = VocabularyFolderOf(dest.string());
  const bool vocabularyInside = vocabulary.starts_with(root.path().string() + "/");
  static bool told = false;
  if (!vocabularyInside && !told) {
    std::fprintf(stderr,
                 "conversion_fuzz: the run's vocabulary folder %s lies outside the case folder; "
                 "the inputs' G10A.TXT and D12A.TXT are left out (use a TMPDIR at most two levels deep)\n",
                 vocabulary.c_str());
    told = true;
  }
  for (const auto& f : layout.files) {
    if (f.inDestination) {
      // A destination that holds an x1.txt is another boring's export, which
      // a run refuses by design: the destinations here are conversions.
      if (IsX1Name(f.name)) continue;
      k2v::test::WriteBytes(dest / f.name, f.bytes);
    } else if (!k2v::fuzz::IsVocabularyName(f.name)) {
      k2v::test::WriteBytes(exportFolder / f.name, f.bytes);
    } else if (vocabularyInside) {
      k2v::test::WriteBytes(fs::path(vocabulary) / f.name, f.bytes);
    }
  }

  const k2v::test::Tree before = k2v::test::SnapshotTree(root.path(), destRelative);
  RunOnce(root.path(), systemFolder.string(), exportFolder, dest, "first");
  const k2v::test::Tree after = k2v::test::SnapshotTree(root.path(), destRelative);
  Check(after == before,
        "the run changed something outside the destination: " + k2v::test::DescribeDifference(before, after));
  std::vector<std::string> inputs;
  for (const auto& f : layout.files) inputs.push_back(f.bytes);
  CheckDestination(dest, inputs);

  if (layout.convertTwice) {
    const k2v::test::Tree first = k2v::test::SnapshotTree(dest);
    RunOnce(root.path(), systemFolder.string(), exportFolder, dest, "second");
    const k2v::test::Tree afterSecond = k2v::test::SnapshotTree(root.path(), destRelative);
    Check(afterSecond == before, "the second run changed something outside the destination: " +
                                     k2v::test::DescribeDifference(before, afterSecond));
    const k2v::test::Tree second = k2v::test::SnapshotTree(dest);
    Check(second == first,
          "converting the same export again changed the destination: " + k2v::test::DescribeDifference(first, second));
    CheckDestination(dest, inputs);
  }
  return 0;
}
