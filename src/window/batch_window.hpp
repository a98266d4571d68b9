#pragma once
// The batch window (一括変換) without a toolkit: it converts every export
// below a site folder into the same relative folders below a destination,
// by the same batch as kolbrix2vantor --batch (run/batch_run), and writes the
// same report and list of soil names without a code. The batch runs on a
// thread of its own; what it did reaches the window through Pump.

#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "run/batch_run.hpp"
#include "window/batch_view.hpp"

namespace k2v {

struct BatchWindowSetup {
  RunOptions runOptions;
  // Borings converted at the same time; 0 for one per processor.
  unsigned jobs = 0;
};

class BatchWindow {
 public:
  BatchWindow(BatchView& view, BatchWindowSetup setup);
  // Stops a batch under way and waits for the borings it is converting.
  ~BatchWindow();
  BatchWindow(const BatchWindow&) = delete;
  BatchWindow& operator=(const BatchWindow&) = delete;

  // 実行: checks both folders, asks once for the missing destination
  // folders, and starts the batch.
  void Execute_Click();
  // 中止: no further boring starts; those under way finish, each whole.
  void Cancel_Click();
  void SourceBrowse_Click();
  void DestinationBrowse_Click();
  void OpenReport_Click();
  void OpenUncodedList_Click();
  // The window's close box: while a batch runs it is stopped first, and the
  // window closes when it has ended.
  void Close_Click();
  // A folder dropped on a path box (a file stands for its folder).
  void PathDropped(BatchPath which, const std::string& path);

  // On the window's thread, after WakeUp: shows what the batch did since.
  void Pump();
  bool Running() const { return worker_.joinable(); }

 private:
  // What the batch's thread tells the window.
  struct Event {
    enum class Kind { Started, Finished, Done } kind;
    BoringResult result;
    // Done: the results of the borings that started.
    std::vector<BoringResult> results;
  };
  class Observer;
  void Post(Event event);
  void Finish();
  MessageAnswer Message(const std::string& text, const std::string& informative, MessageIcon icon,
                        MessageButtons buttons = MessageButtons::Ok);
  void Browse(BatchPath which, const char* title);

  BatchView& view_;
  BatchWindowSetup setup_;
  std::string destinationRoot_;
  std::vector<BatchBoring> borings_;
  std::map<std::string, size_t> rowOf_;
  std::vector<BatchRow> rows_;
  std::vector<BoringResult> results_;
  size_t done_ = 0;
  std::string reportPath_;
  std::string uncodedListPath_;
  bool closeWhenDone_ = false;

  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::deque<Event> events_;
  std::thread worker_;
};

}  // namespace k2v
