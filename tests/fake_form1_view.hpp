#pragma once
// A view of the window that keeps what it is told and answers message boxes
// from a queue (OK, or No to a question, when it is empty).

#include <deque>
#include <string>
#include <vector>

#include "window/form1_view.hpp"

namespace k2v::test {

class FakeForm1View : public Form1View {
 public:
  struct Side_ {
    std::string text;
    std::vector<FolderRow> folderRows;
    std::vector<DriveRow> driveRows;
    int drive = -1;
  };

  Side_& Of(Side side) { return side == Side::Source ? source : destination; }
  const Side_& Of(Side side) const { return side == Side::Source ? source : destination; }

  void Centre() override { ++centred; }
  void Close() override { closed = true; }
  void ProcessPendingEvents() override { ++eventPasses; }
  std::string PathText(Side side) const override { return Of(side).text; }
  void SetPathText(Side side, const std::string& text) override { Of(side).text = text; }
  void SetStatusText(const std::string& text) override { status = text; }
  void ShowFolderRows(Side side, const std::vector<FolderRow>& rows) override { Of(side).folderRows = rows; }
  void ShowDriveRows(Side side, const std::vector<DriveRow>& rows) override { Of(side).driveRows = rows; }
  void ShowDrive(Side side, int index) override { Of(side).drive = index; }
  MessageAnswer ShowMessage(const MessageBoxContent& box) override {
    messages.push_back(box);
    busyDuringMessages.push_back(busy);
    if (!answers.empty()) {
      const MessageAnswer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return box.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
  }
  void SetBusy(bool on) override {
    busy = on;
    busyChanges.push_back(on);
  }
  void FocusAndSelect(Side side) override { focused.push_back(side); }
  void ShowSearchProgress(const std::string& folder) override { searchShown.push_back(folder); }
  bool SearchCancelled() override { return cancelAfter >= 0 && static_cast<int>(searchShown.size()) > cancelAfter; }
  void EndSearch() override { ++searchEnded; }

  Side_ source;
  Side_ destination;
  std::string status;
  std::vector<MessageBoxContent> messages;
  std::vector<bool> busyDuringMessages;
  std::deque<MessageAnswer> answers;
  std::vector<bool> busyChanges;
  bool busy = false;
  std::vector<Side> focused;
  std::vector<std::string> searchShown;
  // The search window's Cancel counts as pressed once it has shown this
  // many folders; never when negative.
  int cancelAfter = -1;
  int searchEnded = 0;
  int centred = 0;
  int eventPasses = 0;
  bool closed = false;
};

}  // namespace k2v::test
