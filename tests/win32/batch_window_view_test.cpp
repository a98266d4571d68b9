// The batch window's Win32 view: its controls at their places, and a batch
// started, followed and cancelled through the controls' own messages.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app_win32/batch_window_view.hpp"
#include "laid_out_window_test_support.hpp"
#include "platform/files.hpp"
#include "platform/wide_text.hpp"
#include "test_support.hpp"
#include "window/window_layout.hpp"
#include "window/window_text.hpp"

namespace fs = std::filesystem;

namespace k2v {
namespace {

std::string Cell(HWND table, int row, int column) {
  wchar_t text[512] = {};
  ListView_GetItemText(table, row, column, text, 512);
  return Narrow(text);
}

class BatchWindowViewTest : public ::testing::Test {
 protected:
  BatchWindowViewTest() {
    for (const char* boring : {"K1", "K2", "K3"}) {
      fs::create_directories(root_.path() / "site" / boring);
      fs::copy(fs::path(K2V_EXAMPLES_DIR) / "sample", root_.path() / "site" / boring);
    }
    fs::create_directories(root_.path() / "out");
    fs::create_directories(root_.path() / "system");
  }
  BatchWindowSetup Setup(unsigned jobs) const {
    BatchWindowSetup s;
    s.runOptions.systemDir = PathText(root_.path() / "system");
    s.jobs = jobs;
    return s;
  }
  void Type(HWND box, const fs::path& path) {
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(PathText(path)).c_str()));
  }

  test::TempDir root_;
};

TEST_F(BatchWindowViewTest, ControlsStandAtTheirPlacesFromTheLayout) {
  BatchWindowView window(Setup(1));
  RECT client{};
  GetClientRect(window.Control("Batch"), &client);
  EXPECT_EQ(client.right, kBatchLayout.clientWidth / 15);
  EXPECT_EQ(client.bottom, kBatchLayout.clientHeight / 15);
  for (const ControlPlace& c : kBatchLayout.controls) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(window.Control(c.name), nullptr);
    test::ExpectAtItsPlace(window, "Batch", c);
  }
  EXPECT_FALSE(IsWindowEnabled(window.Control("Cancel")));
  EXPECT_FALSE(IsWindowEnabled(window.Control("OpenReport")));
}

TEST_F(BatchWindowViewTest, ABatchStartedWithItsButtonFillsTheTableAndCancelStopsIt) {
  BatchWindowView window(Setup(1));
  std::vector<std::string> opened;
  window.SetMessageSeam([](const MessageBoxContent&) { return MessageAnswer::Yes; });
  window.SetOpenSeam([&](const std::string& path) {
    opened.push_back(path);
    return true;
  });
  Type(window.Control("SourceRoot"), root_.path() / "site");
  Type(window.Control("DestinationRoot"), root_.path() / "out");
  // The first file the batch's thread changes waits until 中止 is pressed.
  test::WorkerHold hold;
  SendMessageW(window.Control("Execute"), BM_CLICK, 0, 0);
  HWND table = window.Control("Borings");
  ASSERT_EQ(ListView_GetItemCount(table), 3);
  EXPECT_EQ(Cell(table, 2, 0), "K3");
  EXPECT_FALSE(IsWindowEnabled(window.Control("Execute")));
  hold.WaitUntilHeld();
  SendMessageW(window.Control("Cancel"), BM_CLICK, 0, 0);
  hold.Release();
  for (int i = 0; i < 600 && window.Model().Running(); ++i) {
    Sleep(50);
    window.ProcessPendingEvents();
  }
  ASSERT_FALSE(window.Model().Running());

  EXPECT_EQ(Cell(table, 0, 1).rfind(ReportResultWord(BoringOutcome::Converted), 0), 0u) << Cell(table, 0, 4);
  EXPECT_EQ(Cell(table, 1, 1), batch_text::kNotStarted);
  EXPECT_EQ(Cell(table, 2, 1), batch_text::kNotStarted);
  EXPECT_EQ(SendMessageW(window.Control("Progress"), PBM_GETPOS, 0, 0), 1);
  EXPECT_EQ(SendMessageW(window.Control("Progress"), PBM_GETRANGE, FALSE, 0), 3);
  EXPECT_TRUE(IsWindowEnabled(window.Control("Execute")));
  EXPECT_TRUE(FileExists(PathText(root_.path() / "out" / "K1" / "D10.txt")));
  EXPECT_FALSE(EntryExists(PathText(root_.path() / "out" / "K2")));

  SendMessageW(window.Control("OpenReport"), BM_CLICK, 0, 0);
  EXPECT_EQ(opened, std::vector<std::string>{PathText(root_.path() / "out" / "kolbrix2vantor-report.csv")});
}

}  // namespace
}  // namespace k2v
