#pragma once
// A batch: every export folder of a site converted by its own run, in
// parallel, into the same relative place below a destination root, with a
// result per boring and a report file beside the converted folders.

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "run/conversion_run.hpp"
#include "run/front_end.hpp"
#include "text/message_text.hpp"

namespace k2v {

// One boring of a batch.
struct BatchBoring {
  // Below the source root, with the system's separator between names; "."
  // for the root itself.
  std::string relativePath;
  // The export folder, and the destination root joined with relativePath.
  std::string source;
  std::string destination;
  // Not empty when the boring is refused before the batch starts: its
  // destination lies in the source tree, or is another boring's (through a
  // link). The message names both.
  std::string refusal;
};

// The refusals of the borings whose destinations are unsafe, set before the batch starts.
namespace batch_text {
inline constexpr const char* kDestinationInSource = "変換先ﾌｫﾙﾀﾞが変換元ﾌｫﾙﾀﾞの中にあります。";
inline constexpr const char* kSameDestination = "変換先ﾌｫﾙﾀﾞが別のボーリングの変換先と同じです。";
}  // namespace batch_text

enum class BoringOutcome { Converted, ConvertedWithWarnings, Refused, Failed };

struct BoringResult {
  std::string relativePath;
  BoringOutcome outcome = BoringOutcome::Failed;
  // The run's own texts: its closing status and the data it could not
  // convert, or the message of its refusal or failure (a failure names the
  // file and the system's reason).
  std::vector<std::string> messages;
  // Layers of X1.TXT, and those with a part that found no soil code; both 0
  // unless the boring was converted.
  long long layerCount = 0;
  long long uncodedLayers = 0;
  std::vector<UncodedSoilName> uncodedNames{};
  // The vocabulary the run read (its folder empty unless converted), and its
  // warnings, which stand in the boring's row of the report.
  VocabularyReport vocabulary{};
  std::vector<std::string> vocabularyWarnings{};
};

// Whether the two roots lie inside one another (as they are on the disk,
// links resolved), which a batch refuses: it would convert its own output or
// write into its input.
enum class RootOverlap { None, Same, DestinationInsideSource, SourceInsideDestination };
RootOverlap CheckRootOverlap(const std::string& sourceRoot, const std::string& destinationRoot);

// Every folder at or below sourceRoot that holds a non-empty x1.txt (any
// letter case; hidden folders are passed over), in name order, with its
// destination below destinationRoot. A boring whose destination, as it is on
// the disk (links resolved), lies in the source tree or is the destination of
// another boring gets its refusal.
std::vector<BatchBoring> FindBorings(const std::string& sourceRoot, const std::string& destinationRoot);

// The folders the batch would have to create: the missing levels of the
// destination root and of every boring's destination, top down, each once.
std::vector<std::string> MissingDestinationFolders(const std::string& destinationRoot,
                                                   const std::vector<BatchBoring>& borings);

// After a Yes to the folder question: creates the missing levels of the
// destination root and those above every boring's destination, one after
// the other, so that no two runs create the same folder. Each boring's own
// last level is left to its run, as in a single conversion. A level that
// cannot be made is left too: the runs below it fail naming it.
void CreateBatchFolders(const std::string& destinationRoot, const std::vector<BatchBoring>& borings);

struct BatchOptions {
  RunOptions run;
  // The language of the program's own texts in a result (the vocabulary
  // warnings): the command line's, so that the report says what it says.
  Translation translate = Untranslated;
  // Runs at the same time; at least 1.
  unsigned jobs = 1;
  // The answer the batch got to the folder question, given to every run
  // that asks it.
  MessageAnswer folderAnswer = MessageAnswer::No;
  // When set: once it is true no further boring starts; those under way
  // finish, each whole.
  const std::atomic<bool>* stop = nullptr;
};

// What a batch tells about its progress. Called on the thread that called
// RunBatch, one call at a time.
class BatchObserver {
 public:
  virtual ~BatchObserver() = default;
  virtual void Started(const BatchBoring& boring) = 0;
  virtual void Finished(const BoringResult& result) = 0;
  // About once a second while no boring starts or finishes.
  virtual void Tick() = 0;
};

// Converts one boring with a run of its own that asks nothing.
BoringResult ConvertBoring(const BatchBoring& boring, const BatchOptions& options);

// Converts every boring, options.jobs at a time; one boring's refusal or
// failure does not stop the others. The results are in the order of borings,
// of those that started (all of them unless options.stop ended the batch).
std::vector<BoringResult> RunBatch(const std::vector<BatchBoring>& borings, const BatchOptions& options,
                                   BatchObserver& observer);

struct BatchCounts {
  std::size_t converted = 0;
  std::size_t convertedWithWarnings = 0;
  std::size_t refused = 0;
  std::size_t failed = 0;
};
BatchCounts CountResults(const std::vector<BoringResult>& results);

// A boring the engineer has to look at: not converted cleanly, or with
// layers that found no soil code.
bool NeedsAttention(const BoringResult& result);

// The result's word in the report: "変換済み", "変換済み（警告あり）",
// "変換せず" (refused by a check), "失敗".
const char* ReportResultWord(BoringOutcome outcome);

// The report's name in the destination root.
inline constexpr const char* kBatchReportName = "kolbrix2vantor-report.csv";

// The report: UTF-8 with a byte order mark, CR LF, a header and one row per
// boring: relative path, result, message (the run's texts, then the
// warnings about its vocabulary), layer count, layers without a main soil
// code (the two counts empty unless converted). A spreadsheet on a Japanese
// desktop opens it as it is; its headers and result words are Japanese.
std::string BatchReportCsv(const std::vector<BoringResult>& results);

// Writes the report into the destination root and returns its path: a new
// file put in place in one step, so that a link there is replaced, not
// followed, and a failed write leaves the earlier report. Throws FileError.
std::string WriteBatchReport(const std::string& destinationRoot, const std::vector<BoringResult>& results);

// Writes the list of the soil names that found no code in the converted
// borings (UncodedList) beside the report, in the same way; returns its
// path. Throws FileError.
std::string WriteBatchUncodedList(const std::string& destinationRoot, const std::vector<BoringResult>& results);

}  // namespace k2v
