// The batch window's behaviour (BatchWindow) against a fake view: a site
// converted exactly as kolbrix2vantor --batch converts it, cancel, and the
// refusals before a batch starts.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>

#include "platform/files.hpp"
#include "run/vocabulary.hpp"
#include "test_support.hpp"
#include "window/batch_window.hpp"
#include "window/window_text.hpp"

namespace fs = std::filesystem;

namespace k2v {
namespace {

const fs::path kFullExport = fs::path(K2V_TEST_DATA_DIR) / "stages_full" / "source";

// A view that keeps what it is told; WakeUp may come from any thread.
class FakeBatchView : public BatchView {
 public:
  std::string PathText(BatchPath which) const override { return paths[static_cast<int>(which)]; }
  void SetPathText(BatchPath which, const std::string& text) override { paths[static_cast<int>(which)] = text; }
  std::string ChooseFolder(const std::string& title, const std::string&) override {
    dialogs.push_back(title);
    return chosen;
  }
  void ShowRows(const std::vector<BatchRow>& all) override { rows = all; }
  void ShowRow(int index, const BatchRow& row) override { rows.at(static_cast<size_t>(index)) = row; }
  void ShowProgress(int done, int total) override { progress = {done, total}; }
  void ShowSummary(const std::string& text) override { summary = text; }
  void SetRunning(bool on) override { running = on; }
  void EnableResults(bool report, bool list) override { results = {report, list}; }
  MessageAnswer ShowMessage(const MessageBoxContent& box) override {
    messages.push_back(box);
    return answer;
  }
  bool OpenFile(const std::string& path) override {
    opened.push_back(path);
    return true;
  }
  void WakeUp() override {
    std::lock_guard<std::mutex> lock(mutex);
    ++wakeUps;
    woken.notify_all();
  }
  void Close() override { closed = true; }

  // Lets the window show what its batch did until the batch has ended.
  void PumpUntilDone(BatchWindow& window) {
    while (window.Running()) {
      {
        std::unique_lock<std::mutex> lock(mutex);
        woken.wait_for(lock, std::chrono::milliseconds(100), [&] { return wakeUps > 0; });
        wakeUps = 0;
      }
      window.Pump();
    }
  }

  std::string paths[2];
  std::string chosen;
  std::vector<std::string> dialogs;
  std::vector<BatchRow> rows;
  std::pair<int, int> progress;
  std::string summary;
  bool running = false;
  std::pair<bool, bool> results;
  std::vector<MessageBoxContent> messages;
  MessageAnswer answer = MessageAnswer::Yes;
  std::vector<std::string> opened;
  bool closed = false;
  std::mutex mutex;
  std::condition_variable woken;
  int wakeUps = 0;
};

class BatchWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(system);
    for (const char* boring : {"K1", "north/K2", "north/K3"}) {
      fs::create_directories(site / test::Native(boring));
      fs::copy(kFullExport, site / test::Native(boring));
    }
    // Soil names without a code, for the list beside the report.
    test::WriteSjis(site / "north" / "K3" / "X1.TXT", "1,1.00,0,頁岩\r\n2,2.00,0,礫質土\r\n");
    view.paths[0] = PathText(site);
    view.paths[1] = PathText(dest);
  }
  BatchWindowSetup TestSetup() const {
    BatchWindowSetup s;
    s.runOptions.systemDir = PathText(system);
    s.jobs = 2;
    return s;
  }

  test::TempDir root;
  fs::path site = root / "site";
  fs::path dest = root / "out";
  fs::path system = root / "system";
  FakeBatchView view;
};

TEST_F(BatchWindowTest, ASiteConvertsExactlyAsTheCommandLineBatchConvertsIt) {
  {
    BatchWindow window(view, TestSetup());
    window.Execute_Click();
    ASSERT_EQ(view.messages.size(), 1u);  // the destination root is made after a Yes
    EXPECT_EQ(view.messages[0].text, run_text::kCreateFolder);
    EXPECT_TRUE(view.running);
    view.PumpUntilDone(window);
  }
  EXPECT_FALSE(view.running);
  EXPECT_EQ(view.progress, std::make_pair(3, 3));
  ASSERT_EQ(view.rows.size(), 3u);
  EXPECT_EQ(view.rows[0].boring, "K1");
  EXPECT_EQ(view.rows[2].boring, test::Native("north/K3"));
  EXPECT_EQ(view.rows[2].layers, "2");
  EXPECT_EQ(view.rows[2].uncodedLayers, "2");
  for (const BatchRow& row : view.rows)
    EXPECT_EQ(row.result.rfind(ReportResultWord(BoringOutcome::Converted), 0), 0u) << row.message;
  EXPECT_EQ(view.summary.find(batch_text::kStopped), std::string::npos);
  EXPECT_EQ(view.results, std::make_pair(true, true));
  const test::Tree fromWindow = test::SnapshotTree(dest);

  fs::remove_all(dest);
  std::string out, err;
  ASSERT_EQ(test::RunCommand({K2V_CLI_PATH, "--batch", "--yes", "--system-dir", PathText(system), PathText(site),
                              PathText(dest)},
                             out, err),
            0)
      << err;
  const test::Tree fromCommand = test::SnapshotTree(dest);
  EXPECT_EQ(fromWindow, fromCommand) << test::DescribeDifference(fromCommand, fromWindow);
}

TEST_F(BatchWindowTest, CancelLetsTheBoringUnderWayFinishWholeAndStartsNoOther) {
  fs::create_directories(dest);
  BatchWindowSetup setup = TestSetup();
  setup.jobs = 1;
  BatchWindow window(view, setup);
  // The first file the batch's thread changes waits until 中止 is pressed.
  test::WorkerHold hold;
  window.Execute_Click();
  hold.WaitUntilHeld();
  window.Cancel_Click();
  EXPECT_EQ(view.summary, batch_text::kStopping);
  hold.Release();
  view.PumpUntilDone(window);

  EXPECT_EQ(view.rows[0].result.rfind(ReportResultWord(BoringOutcome::Converted), 0), 0u) << view.rows[0].message;
  EXPECT_EQ(view.rows[1].result, batch_text::kNotStarted);
  EXPECT_EQ(view.rows[2].result, batch_text::kNotStarted);
  EXPECT_EQ(view.summary.rfind(batch_text::kStopped, 0), 0u) << view.summary;
  EXPECT_FALSE(EntryExists(PathText(dest / "north" / "K2")));
  // The report has the boring that ran, and it opens from its button.
  const std::string report = ReadFileBytes(PathText(dest / "kolbrix2vantor-report.csv"));
  EXPECT_NE(report.find("K1"), std::string::npos);
  EXPECT_EQ(report.find("K2"), std::string::npos);
  // The boring converted is whole: as a single conversion makes it.
  const test::Tree converted = test::SnapshotTree(dest / "K1");
  fs::remove_all(dest / "K1");
  std::string out, err;
  ASSERT_EQ(test::RunCommand({K2V_CLI_PATH, "--yes", "--system-dir", PathText(system), PathText(site / "K1"),
                              PathText(dest / "K1")},
                             out, err),
            0);
  EXPECT_EQ(converted, test::SnapshotTree(dest / "K1"));
  window.OpenReport_Click();
  EXPECT_EQ(view.opened, std::vector<std::string>{PathText(dest / "kolbrix2vantor-report.csv")});
}

TEST_F(BatchWindowTest, FoldersThatCannotMakeABatchAreRefusedBeforeAnythingStarts) {
  struct Case {
    std::string source, destination, message;
  };
  fs::create_directories(root / "empty");
  const std::vector<Case> cases = {
      {PathText(root / "missing"), PathText(dest), batch_text::kNoSource},
      {PathText(site), "  ", batch_text::kNoDestination},
      {PathText(site), PathText(site), batch_text::kSameRoots},
      {PathText(site), PathText(site / "out"), batch_text::kDestinationInsideSource},
      {PathText(root / "empty"), PathText(dest), batch_text::kNoBorings},
  };
  BatchWindow window(view, TestSetup());
  for (const Case& c : cases) {
    view.messages.clear();
    view.SetPathText(BatchPath::Source, c.source);
    view.SetPathText(BatchPath::Destination, c.destination);
    window.Execute_Click();
    ASSERT_EQ(view.messages.size(), 1u) << c.message;
    EXPECT_EQ(view.messages[0].text, c.message);
    EXPECT_FALSE(window.Running());
  }
  EXPECT_FALSE(EntryExists(PathText(dest)));
  EXPECT_FALSE(EntryExists(PathText(site / "out")));
}

TEST_F(BatchWindowTest, ClosingWhileABatchRunsStopsItAndClosesWhenItHasEnded) {
  BatchWindow window(view, TestSetup());
  view.chosen = PathText(root / "elsewhere");
  window.DestinationBrowse_Click();
  EXPECT_EQ(view.paths[1], PathText(root / "elsewhere"));
  window.Execute_Click();
  window.Close_Click();
  EXPECT_FALSE(view.closed);
  view.PumpUntilDone(window);
  EXPECT_TRUE(view.closed);
  window.Close_Click();
}

TEST_F(BatchWindowTest, VocabularyWarningsInTheRowsAndTheReportAreJapaneseInEveryLanguage) {
  test::ScopedMessageLanguage english("C");
  const test::TempDir shallow{"k2v-test", test::ShallowTempBase()};
  const fs::path destination = shallow / "A" / "B";
  const fs::path vocabulary = VocabularyFolder(PathText(destination / "K1") + test::Sep(), test::Sep()[0]);
  ASSERT_EQ(vocabulary.string().rfind(shallow.path().string(), 0), 0u)
      << vocabulary << " lies outside the test's folder";
  fs::create_directories(vocabulary);
  test::WriteSjis(vocabulary / "G10A.TXT", "600,x,粘土,y\r\n6OO,x,シルト岩,y\r\n");
  view.paths[1] = PathText(destination);
  {
    BatchWindow window(view, TestSetup());
    window.Execute_Click();
    view.PumpUntilDone(window);
  }
  const std::string warning =
      PathText(vocabulary / "G10A.TXT") +
      ": 2 行目: コード「6OO」が -32768 から 32767 までの整数ではありません。この行は読み飛ばします";
  ASSERT_EQ(view.rows.size(), 3u);
  for (const BatchRow& row : view.rows) EXPECT_NE(row.message.find(warning), std::string::npos) << row.message;
  EXPECT_NE(ReadFileBytes(PathText(destination / "kolbrix2vantor-report.csv")).find(warning), std::string::npos);
}

}  // namespace
}  // namespace k2v
