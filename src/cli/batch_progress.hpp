#pragma once
// What the command shows while a batch runs, and its summary at the end.

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "run/batch_run.hpp"

namespace k2v {

// On a terminal: one line redrawn in place with a bar, the borings done of
// the total, the boring being converted, the time taken and the time left.
// Elsewhere (a log file, a pipe): one line per boring as it finishes, with
// its relative path and result.
class BatchProgress : public BatchObserver {
 public:
  BatchProgress(std::ostream& err, std::size_t total, bool terminal);

  void Started(const BatchBoring& boring) override;
  void Finished(const BoringResult& result) override;
  void Tick() override;
  // Ends the bar's line.
  void Close();

 private:
  void Draw(bool force);

  std::ostream& err_;
  std::size_t total_;
  bool terminal_;
  std::size_t done_ = 0;
  std::vector<std::string> running_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point drawn_;
  bool drawnOnce_ = false;
};

// The counts of the results, then every boring that needs attention with
// the run's messages, then the vocabulary folders the runs read.
void PrintBatchSummary(std::ostream& out, const std::vector<BoringResult>& results);

// Each vocabulary folder the converted borings read, once, with what its
// G10A.TXT and D12A.TXT gave and the warnings about them (the first ten
// folders; the others are counted).
void PrintVocabularyFolders(std::ostream& out, const std::vector<BoringResult>& results);

}  // namespace k2v
