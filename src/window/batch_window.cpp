#include "window/batch_window.hpp"

#include <filesystem>

#include "platform/files.hpp"
#include "platform/folder_walk.hpp"
#include "run/paths.hpp"
#include "text/sjis_text.hpp"
#include "window/folder_list.hpp"
#include "window/japanese_catalog.hpp"
#include "window/window_text.hpp"

namespace k2v {

namespace {

// The missing folders the folder question lists; the rest are counted.
constexpr size_t kListedMissingFolders = 10;

// A folder typed in a path box, as the command line takes its argument:
// trimmed, absolute, without "." and "..", doubled separators or a final
// separator. Empty stays empty.
std::string FolderOfText(const std::string& typed) {
  const std::string text = Trim(TypedPathText(Trim(typed)));
  return text.empty() ? text : NormalFolderPath(text);
}

BatchRow RowOf(const BoringResult& r) {
  BatchRow row{r.relativePath, ReportResultWord(r.outcome), "", "", ""};
  const bool converted = r.outcome == BoringOutcome::Converted || r.outcome == BoringOutcome::ConvertedWithWarnings;
  if (converted) {
    row.layers = std::to_string(r.layerCount);
    row.uncodedLayers = std::to_string(r.uncodedLayers);
  }
  // The run's texts on one line: a failure's message, path and reason, then
  // the vocabulary's warnings, as the report's row has them. A converted
  // boring's closing status is its result already.
  std::vector<std::string> texts(r.messages.begin() + (converted && !r.messages.empty() ? 1 : 0), r.messages.end());
  texts.insert(texts.end(), r.vocabularyWarnings.begin(), r.vocabularyWarnings.end());
  for (const std::string& text : texts) {
    for (char c : text) row.message += c == '\n' ? ' ' : c;
    row.message += ' ';
  }
  if (!row.message.empty()) row.message.pop_back();
  return row;
}

std::string Summary(const BatchCounts& counts, size_t notStarted) {
  using O = BoringOutcome;
  std::string text = std::string(ReportResultWord(O::Converted)) + " " + std::to_string(counts.converted) + " 件、" +
                     "警告あり " + std::to_string(counts.convertedWithWarnings) + " 件、" +
                     ReportResultWord(O::Refused) + " " + std::to_string(counts.refused) + " 件、" +
                     ReportResultWord(O::Failed) + " " + std::to_string(counts.failed) + " 件";
  if (notStarted > 0)
    text = std::string(batch_text::kStopped) + text + "、未変換 " + std::to_string(notStarted) + " 件";
  return text;
}

}  // namespace

// Tells the window, from the batch's thread, what started and finished.
class BatchWindow::Observer : public BatchObserver {
 public:
  explicit Observer(BatchWindow& window) : window_(window) {}
  void Started(const BatchBoring& boring) override {
    BoringResult started;
    started.relativePath = boring.relativePath;
    window_.Post({Event::Kind::Started, std::move(started), {}});
  }
  void Finished(const BoringResult& result) override { window_.Post({Event::Kind::Finished, result, {}}); }
  void Tick() override {}

 private:
  BatchWindow& window_;
};

BatchWindow::BatchWindow(BatchView& view, BatchWindowSetup setup) : view_(view), setup_(std::move(setup)) {
  view_.SetRunning(false);
  view_.EnableResults(false, false);
  view_.ShowProgress(0, 1);
}

BatchWindow::~BatchWindow() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
}

MessageAnswer BatchWindow::Message(const std::string& text, const std::string& informative, MessageIcon icon,
                                   MessageButtons buttons) {
  const MessageAnswer answer =
      view_.ShowMessage(MessageBoxContent{text, informative, "", batch_text::kCaption, icon, buttons});
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  return answer == MessageAnswer::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void BatchWindow::Execute_Click() {
  if (Running()) return;
  const std::string sourceRoot = FolderOfText(view_.PathText(BatchPath::Source));
  const std::string destinationRoot = FolderOfText(view_.PathText(BatchPath::Destination));
  if (sourceRoot.empty() || !FolderExists(sourceRoot)) {
    Message(batch_text::kNoSource, sourceRoot, MessageIcon::Exclamation);
    return;
  }
  if (destinationRoot.empty()) {
    Message(batch_text::kNoDestination, "", MessageIcon::Exclamation);
    return;
  }
  // The batch would convert its own output, or write into the exports it reads.
  switch (CheckRootOverlap(sourceRoot, destinationRoot)) {
    case RootOverlap::Same:
      Message(batch_text::kSameRoots, sourceRoot + "\n" + destinationRoot, MessageIcon::Exclamation);
      return;
    case RootOverlap::DestinationInsideSource:
      Message(batch_text::kDestinationInsideSource, sourceRoot + "\n" + destinationRoot, MessageIcon::Exclamation);
      return;
    case RootOverlap::SourceInsideDestination:
      Message(batch_text::kSourceInsideDestination, sourceRoot + "\n" + destinationRoot, MessageIcon::Exclamation);
      return;
    case RootOverlap::None: break;
  }
  std::vector<BatchBoring> borings = FindBorings(sourceRoot, destinationRoot);
  if (borings.empty()) {
    Message(batch_text::kNoBorings, sourceRoot, MessageIcon::Exclamation);
    return;
  }

  BatchOptions options;
  options.run = setup_.runOptions;
  options.jobs = setup_.jobs > 0 ? setup_.jobs : ProcessorCount();
  options.stop = &stop_;
  options.translate = JapaneseText;
  const std::vector<std::string> missing = MissingDestinationFolders(destinationRoot, borings);
  if (!missing.empty()) {
    std::string listed = batch_text::kMissingFolders;
    for (size_t i = 0; i < missing.size() && i < kListedMissingFolders; ++i) listed += "\n" + missing[i];
    if (missing.size() > kListedMissingFolders) {
      listed += "\n" + std::string(batch_text::kMoreFolders) + std::to_string(missing.size() - kListedMissingFolders) +
                " 件";
    }
    // As on the command line: a No leaves the folders to each boring's run,
    // which is refused where its folder is missing.
    options.folderAnswer = Message(run_text::kCreateFolder, listed, MessageIcon::Question, MessageButtons::YesNo);
    if (options.folderAnswer == MessageAnswer::Yes) CreateBatchFolders(destinationRoot, borings);
  }

  destinationRoot_ = destinationRoot;
  borings_ = std::move(borings);
  rows_.clear();
  rowOf_.clear();
  for (const BatchBoring& b : borings_) {
    rowOf_[b.relativePath] = rows_.size();
    rows_.push_back(BatchRow{b.relativePath, batch_text::kWaiting, "", "", ""});
  }
  results_.clear();
  done_ = 0;
  reportPath_.clear();
  uncodedListPath_.clear();
  stop_ = false;
  view_.ShowRows(rows_);
  view_.ShowProgress(0, static_cast<int>(borings_.size()));
  view_.ShowSummary(batch_text::kRunning);
  view_.EnableResults(false, false);
  view_.SetRunning(true);
  worker_ = std::thread([this, options] {
    Observer observer(*this);
    std::vector<BoringResult> results = RunBatch(borings_, options, observer);
    Post({Event::Kind::Done, {}, std::move(results)});
  });
}

void BatchWindow::Cancel_Click() {
  if (!Running() || stop_) return;
  stop_ = true;
  view_.ShowSummary(batch_text::kStopping);
}

void BatchWindow::Browse(BatchPath which, const char* title) {
  const std::string chosen = view_.ChooseFolder(title, FolderOfText(view_.PathText(which)));
  if (!chosen.empty()) view_.SetPathText(which, chosen);
}

void BatchWindow::SourceBrowse_Click() { Browse(BatchPath::Source, batch_text::kChooseSource); }

void BatchWindow::DestinationBrowse_Click() { Browse(BatchPath::Destination, batch_text::kChooseDestination); }

void BatchWindow::OpenReport_Click() {
  if (!reportPath_.empty()) view_.OpenFile(reportPath_);
}

void BatchWindow::OpenUncodedList_Click() {
  if (!uncodedListPath_.empty()) view_.OpenFile(uncodedListPath_);
}

void BatchWindow::Close_Click() {
  if (!Running()) {
    view_.Close();
    return;
  }
  closeWhenDone_ = true;
  Cancel_Click();
}

void BatchWindow::PathDropped(BatchPath which, const std::string& path) {
  if (FolderExists(path)) {
    view_.SetPathText(which, NormalFolderPath(path));
  } else if (FileExists(path)) {
    view_.SetPathText(which, NormalFolderPath(PathText(NativePath(path).parent_path())));
  }
}

void BatchWindow::Post(Event event) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
  }
  view_.WakeUp();
}

void BatchWindow::Pump() {
  std::deque<Event> events;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events.swap(events_);
  }
  for (Event& e : events) {
    if (e.kind == Event::Kind::Done) {
      results_ = std::move(e.results);
      Finish();
      continue;
    }
    const auto row = rowOf_.find(e.result.relativePath);
    if (row == rowOf_.end()) continue;
    if (e.kind == Event::Kind::Started) {
      rows_[row->second].result = batch_text::kConverting;
    } else {
      rows_[row->second] = RowOf(e.result);
      view_.ShowProgress(static_cast<int>(++done_), static_cast<int>(rows_.size()));
    }
    view_.ShowRow(static_cast<int>(row->second), rows_[row->second]);
  }
}

void BatchWindow::Finish() {
  worker_.join();
  size_t notStarted = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].result != batch_text::kWaiting) continue;
    rows_[i].result = batch_text::kNotStarted;
    view_.ShowRow(static_cast<int>(i), rows_[i]);
    ++notStarted;
  }
  std::string summary = Summary(CountResults(results_), notStarted);
  // The report and the list, as the command line writes them.
  if (FolderExists(destinationRoot_)) {
    try {
      reportPath_ = WriteBatchReport(destinationRoot_, results_);
      uncodedListPath_ = WriteBatchUncodedList(destinationRoot_, results_);
    } catch (const FileError& e) {
      summary += std::string("　") + batch_text::kNoReport + e.path() + " (" + e.reason() + ")";
    }
  }
  view_.ShowSummary(summary);
  view_.EnableResults(!reportPath_.empty(), !uncodedListPath_.empty());
  view_.SetRunning(false);
  if (closeWhenDone_) view_.Close();
}

}  // namespace k2v
