// For scripts/screenshot_windows.sh: opens the Win32 batch window, converts
// SITE into DESTINATION through its 実行 button (answering the folder
// question with Yes), prints the window's place on the screen as "left top
// width height" once the batch has ended and keeps the window open for some
// seconds.
//   win32_batch_window_shot SITE DESTINATION SYSTEM-DIR SECONDS

#include <windows.h>

#include <string>

#include "app_win32/batch_window_view.hpp"
#include "platform/arguments.hpp"
#include "shot_support.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string> args = k2v::CommandLineArguments(argc, argv);
  if (args.size() != 4) return 2;
  k2v::BatchWindowSetup setup;
  setup.runOptions.systemDir = args[2];
  k2v::BatchWindowView window(setup);
  window.SetMessageSeam([](const k2v::MessageBoxContent&) { return k2v::MessageAnswer::Yes; });
  ShowWindow(window.Control("Batch"), SW_SHOW);
  window.SetPathText(k2v::BatchPath::Source, args[0]);
  window.SetPathText(k2v::BatchPath::Destination, args[1]);
  SendMessageW(window.Control("Execute"), BM_CLICK, 0, 0);
  while (window.Model().Running()) {
    Sleep(50);
    window.ProcessPendingEvents();
  }
  k2v::shot::PrintPlace(window.Control("Batch"));
  k2v::shot::CloseAfter(window.Control("Batch"), std::stoi(args[3]));
  return window.Run();
}
