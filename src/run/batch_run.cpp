#include "run/batch_run.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <new>
#include <set>

#include "platform/files.hpp"
#include "platform/folder_walk.hpp"
#include "platform/volumes.hpp"
#include "platform/worker_pool.hpp"
#include "run/paths.hpp"
#include "run/uncoded_list.hpp"

namespace k2v {

namespace {

// A run's front end inside a batch: it asks nothing and keeps the texts the
// run shows for the batch's summary.
class CollectingFrontEnd : public FrontEnd {
 public:
  explicit CollectingFrontEnd(MessageAnswer folderAnswer) : folderAnswer_(folderAnswer) {}

  void SetStatus(const std::string& text) override { status = text; }
  void ProcessPendingEvents() override {}
  MessageAnswer ShowMessage(const std::string& text, const std::string&, MessageIcon, MessageButtons buttons) override {
    if (buttons == MessageButtons::Ok) {
      messages.push_back(text);
      return MessageAnswer::Ok;
    }
    // A question answered No is the reason of the refusal that follows.
    if (folderAnswer_ != MessageAnswer::Yes) messages.push_back(text);
    return folderAnswer_;
  }
  void SetBusy(bool) override {}
  void FocusAndSelect(PathBox) override {}

  std::string status;
  std::vector<std::string> messages;

 private:
  MessageAnswer folderAnswer_;
};

// Every level of an absolute path from the top, without the root or the
// drive: /a, /a/b, /a/b/c.
std::vector<std::string> Levels(const std::string& path) {
  const char sep = NativePathRules().Separator();
  std::vector<std::string> levels;
  const size_t first = path.find(sep);
  if (first == std::string::npos) return levels;
  for (size_t cut = path.find(sep, first + 1); cut != std::string::npos; cut = path.find(sep, cut + 1)) {
    levels.push_back(path.substr(0, cut));
  }
  if (path.size() > first + 1) levels.push_back(path);
  return levels;
}

std::string ParentOf(const std::string& path) {
  const size_t cut = path.rfind(NativePathRules().Separator());
  return cut == std::string::npos ? path : path.substr(0, std::max<size_t>(cut, 1));
}

std::string JoinedMessages(const std::vector<std::string>& messages) {
  std::string joined;
  for (const std::string& m : messages) joined += (joined.empty() ? "" : "\n") + m;
  return joined;
}

}  // namespace

RootOverlap CheckRootOverlap(const std::string& sourceRoot, const std::string& destinationRoot) {
  const std::string source = ResolvedPath(sourceRoot);
  const std::string destination = ResolvedPath(destinationRoot);
  if (source == destination || SameFolder(source, destination)) return RootOverlap::Same;
  if (PathIsWithin(destination, source)) return RootOverlap::DestinationInsideSource;
  if (PathIsWithin(source, destination)) return RootOverlap::SourceInsideDestination;
  return RootOverlap::None;
}

std::vector<BatchBoring> FindBorings(const std::string& sourceRoot, const std::string& destinationRoot) {
  std::vector<BatchBoring> borings;
  const char sep = NativePathRules().Separator();
  for (const std::string& relative : FindFoldersHolding(sourceRoot, "x1.txt")) {
    if (relative.empty()) {
      borings.push_back({".", sourceRoot, destinationRoot, ""});
      continue;
    }
    // The paths in the system's form: the control files and the vocabulary
    // come from the destination's levels split at the separator, and the
    // engineer reads the boring's path as the system writes it.
    std::string native = relative;
    std::replace(native.begin(), native.end(), '/', sep);
    borings.push_back({native, JoinPath(sourceRoot, native), JoinPath(destinationRoot, native), ""});
  }
  // Each destination as it is on the disk: a boring folder of the
  // destination tree may be a link into the source tree or to another one.
  const std::string resolvedSource = ResolvedPath(sourceRoot);
  std::map<std::string, size_t> byDestination;
  for (size_t i = 0; i < borings.size(); ++i) {
    BatchBoring& b = borings[i];
    const std::string resolved = ResolvedPath(b.destination);
    if (resolved == resolvedSource || PathIsWithin(resolved, resolvedSource)) {
      b.refusal = std::string(batch_text::kDestinationInSource) + "\n" + b.destination + " -> " + resolved + "\n" +
                  sourceRoot;
      continue;
    }
    const auto [earlier, isNew] = byDestination.emplace(PathKey(resolved), i);
    if (isNew) continue;
    BatchBoring& other = borings[earlier->second];
    b.refusal = std::string(batch_text::kSameDestination) + "\n" + b.destination + "\n" + other.destination;
    if (other.refusal.empty()) {
      other.refusal = std::string(batch_text::kSameDestination) + "\n" + other.destination + "\n" + b.destination;
    }
  }
  return borings;
}

std::vector<std::string> MissingDestinationFolders(const std::string& destinationRoot,
                                                   const std::vector<BatchBoring>& borings) {
  std::vector<std::string> missing;
  std::set<std::string> seen;
  auto look = [&](const std::string& path) {
    for (const std::string& level : Levels(path)) {
      if (seen.insert(level).second && !FolderExists(level)) missing.push_back(level);
    }
  };
  look(destinationRoot);
  for (const BatchBoring& b : borings) look(b.destination);
  return missing;
}

void CreateBatchFolders(const std::string& destinationRoot, const std::vector<BatchBoring>& borings) {
  std::set<std::string> done;
  auto create = [&](const std::string& path) {
    for (const std::string& level : Levels(path)) {
      if (!done.insert(level).second || FolderExists(level)) continue;
      try {
        CreateFolder(level);
      } catch (const FileError&) {
        // The runs below this level fail with the reason.
      }
    }
  };
  create(destinationRoot);
  for (const BatchBoring& b : borings) {
    if (b.destination != destinationRoot) create(ParentOf(b.destination));
  }
}

BoringResult ConvertBoring(const BatchBoring& boring, const BatchOptions& options) {
  BoringResult result;
  result.relativePath = boring.relativePath;
  if (!boring.refusal.empty()) {
    result.outcome = BoringOutcome::Refused;
    result.messages.push_back(boring.refusal);
    return result;
  }
  CollectingFrontEnd ui(options.folderAnswer);
  try {
    // The borings' workers keep the processors busy; each boring is
    // converted on its worker alone (no thread is started per boring).
    RunOptions runOptions = options.run;
    runOptions.convertSideBySide = false;
    ConversionRun run(ui, NativePathRules(), runOptions);
    RunResult r = run.Run(boring.source, boring.destination);
    switch (r.outcome) {
      case RunOutcome::Finished:
        result.outcome = r.warnings.empty() ? BoringOutcome::Converted : BoringOutcome::ConvertedWithWarnings;
        // The closing status, then what the run told besides (the undoing
        // of an interrupted run), then the data it could not convert.
        result.messages.push_back(ui.status);
        result.messages.insert(result.messages.end(), ui.messages.begin(), ui.messages.end());
        result.messages.insert(result.messages.end(), r.warnings.begin(), r.warnings.end());
        result.layerCount = r.layerCount;
        result.uncodedLayers = r.uncodedLayers;
        result.uncodedNames = std::move(r.uncodedNames);
        result.vocabulary = std::move(r.vocabulary);
        result.vocabularyWarnings = VocabularyWarnings(result.vocabulary, options.translate);
        return result;
      case RunOutcome::Refused:
        result.outcome = BoringOutcome::Refused;
        result.messages = ui.messages;
        return result;
      case RunOutcome::Failed:
        result.outcome = BoringOutcome::Failed;
        result.messages = ui.messages;
        return result;
    }
  } catch (const std::bad_alloc&) {
    result.messages = ui.messages;
    result.messages.push_back(std::string(run_text::kInternalError) + "\n" + run_text::kOutOfMemory);
  } catch (const std::exception& e) {
    result.messages = ui.messages;
    result.messages.push_back(std::string(run_text::kInternalError) + "\n" + e.what());
  }
  result.outcome = BoringOutcome::Failed;
  return result;
}

std::vector<BoringResult> RunBatch(const std::vector<BatchBoring>& borings, const BatchOptions& options,
                                   BatchObserver& observer) {
  std::vector<BoringResult> results(borings.size());
  if (borings.empty()) return results;

  // The workers tell the calling thread what started and finished; only it
  // calls the observer.
  enum class Kind { Started, Finished, PassedOver };
  struct Event {
    Kind kind;
    size_t index;
  };
  std::vector<char> started(borings.size(), 0);
  auto stopped = [&] { return options.stop && options.stop->load(); };
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<Event> events;
  auto post = [&](Event e) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      events.push_back(e);
    }
    changed.notify_one();
  };
  // Each boring ends with one event: finished, or passed over once the
  // batch is stopped (those under way finish whole).
  auto work = [&](size_t i) {
    if (stopped()) {
      post({Kind::PassedOver, i});
      return;
    }
    started[i] = 1;
    post({Kind::Started, i});
    BoringResult result = ConvertBoring(borings[i], options);
    {
      std::lock_guard<std::mutex> lock(mutex);
      results[i] = std::move(result);
    }
    post({Kind::Finished, i});
  };
  // The results of the borings that started.
  auto startedOnly = [&] {
    std::vector<BoringResult> kept;
    for (size_t i = 0; i < borings.size(); ++i) {
      if (started[i]) kept.push_back(std::move(results[i]));
    }
    return kept;
  };

  WorkerPool workers(borings.size(), std::clamp<size_t>(options.jobs, 1, borings.size()), work);
  if (workers.Threads() == 0) {
    for (size_t i = 0; i < borings.size() && !stopped(); ++i) {
      started[i] = 1;
      observer.Started(borings[i]);
      results[i] = ConvertBoring(borings[i], options);
      observer.Finished(results[i]);
    }
    return startedOnly();
  }

  size_t ended = 0;
  std::unique_lock<std::mutex> lock(mutex);
  while (ended < borings.size()) {
    if (events.empty()) {
      if (!changed.wait_for(lock, std::chrono::seconds(1), [&] { return !events.empty(); })) {
        lock.unlock();
        observer.Tick();
        lock.lock();
      }
      continue;
    }
    const Event e = events.front();
    events.pop_front();
    lock.unlock();
    switch (e.kind) {
      case Kind::Started: observer.Started(borings[e.index]); break;
      case Kind::Finished:
        observer.Finished(results[e.index]);
        ++ended;
        break;
      case Kind::PassedOver: ++ended; break;
    }
    lock.lock();
  }
  lock.unlock();
  workers.Join();
  return startedOnly();
}

BatchCounts CountResults(const std::vector<BoringResult>& results) {
  BatchCounts counts;
  for (const BoringResult& r : results) {
    switch (r.outcome) {
      case BoringOutcome::Converted: ++counts.converted; break;
      case BoringOutcome::ConvertedWithWarnings: ++counts.convertedWithWarnings; break;
      case BoringOutcome::Refused: ++counts.refused; break;
      case BoringOutcome::Failed: ++counts.failed; break;
    }
  }
  return counts;
}

bool NeedsAttention(const BoringResult& result) {
  return result.outcome != BoringOutcome::Converted || result.uncodedLayers > 0;
}

const char* ReportResultWord(BoringOutcome outcome) {
  switch (outcome) {
    case BoringOutcome::Converted: return "変換済み";
    case BoringOutcome::ConvertedWithWarnings: return "変換済み（警告あり）";
    case BoringOutcome::Refused: return "変換せず";
    case BoringOutcome::Failed: break;
  }
  return "失敗";
}

std::string BatchReportCsv(const std::vector<BoringResult>& results) {
  // The byte order mark tells a spreadsheet program that the text is UTF-8.
  std::string csv = "\xEF\xBB\xBF";
  csv += "ボーリング,結果,メッセージ,層数,土質コードのない層数\r\n";
  for (const BoringResult& r : results) {
    std::vector<std::string> messages = r.messages;
    messages.insert(messages.end(), r.vocabularyWarnings.begin(), r.vocabularyWarnings.end());
    csv += CsvField(r.relativePath) + "," + ReportResultWord(r.outcome) + "," + CsvField(JoinedMessages(messages)) +
           ",";
    const bool converted = r.outcome == BoringOutcome::Converted || r.outcome == BoringOutcome::ConvertedWithWarnings;
    if (converted) csv += std::to_string(r.layerCount) + "," + std::to_string(r.uncodedLayers);
    else csv += ",";
    csv += "\r\n";
  }
  return csv;
}

std::string WriteBatchReport(const std::string& destinationRoot, const std::vector<BoringResult>& results) {
  const std::string path = JoinPath(destinationRoot, kBatchReportName);
  WriteFileInOneStep(path, BatchReportCsv(results));
  return path;
}

std::string WriteBatchUncodedList(const std::string& destinationRoot, const std::vector<BoringResult>& results) {
  UncodedList list;
  for (const BoringResult& r : results) list.Add(r.relativePath, r.uncodedNames);
  const std::string path = JoinPath(destinationRoot, kUncodedListName);
  WriteFileInOneStep(path, list.Csv());
  return path;
}

}  // namespace k2v
