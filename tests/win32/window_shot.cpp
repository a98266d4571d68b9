// For scripts/screenshot_windows.sh: opens the Win32 window, converts a
// source folder into a destination folder through its controls (answering
// the folder question with Yes), prints the window's place on the screen as
// "left top width height" and keeps the window open for some seconds.
//   win32_window_shot SOURCE DESTINATION RADUDI SYSTEM-DIR SECONDS

#include <windows.h>

#include <string>

#include "platform/arguments.hpp"
#include "shot_support.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string> args = k2v::CommandLineArguments(argc, argv);
  if (args.size() != 5) return 2;
  k2v::Form1Window window(k2v::shot::SetupFor(args[2], args[3]));
  window.SetMessageSeam([](const k2v::MessageBoxContent&) { return k2v::MessageAnswer::Yes; });
  if (!k2v::shot::ShowWithPaths(window, args[0], args[1])) return 1;
  SendMessageW(window.Control("Command1"), BM_CLICK, 0, 0);
  k2v::shot::PrintPlace(window.Control("Form1"));
  k2v::shot::CloseAfter(window.Control("Form1"), std::stoi(args[4]));
  return window.Run();
}
