// For scripts/screenshot_windows.sh: opens the Win32 window, converts a
// source folder into a destination folder through its controls, and for each
// message box the run shows prints the box's place on the screen as
// "left top width height", then presses its Yes (or OK) some seconds later,
// so that the script can take its picture in between. Ends after the run.
//   win32_message_box_shot SOURCE DESTINATION RADUDI SYSTEM-DIR SECONDS

#include <windows.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>

#include "platform/arguments.hpp"
#include "shot_support.hpp"

namespace {

// A message box of this program that is on the screen, or nullptr.
HWND ShownMessageBox() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND w, LPARAM result) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        wchar_t name[16] = {};
        GetClassNameW(w, name, 16);
        if (process != GetCurrentProcessId() || !IsWindowVisible(w) || std::wstring(name) != L"#32770") return TRUE;
        *reinterpret_cast<HWND*>(result) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = k2v::CommandLineArguments(argc, argv);
  if (args.size() != 5) return 2;
  const DWORD wait = static_cast<DWORD>(std::stoi(args[4]) * 1000);
  k2v::Form1Window window(k2v::shot::SetupFor(args[2], args[3]));
  if (!k2v::shot::ShowWithPaths(window, args[0], args[1])) return 1;

  // The boxes are modal: a thread of its own finds each one and answers it.
  std::atomic<bool> done{false};
  std::thread answerer([&] {
    std::set<HWND> answered;
    while (!done) {
      HWND box = ShownMessageBox();
      if (!box || answered.count(box)) {
        Sleep(50);
        continue;
      }
      answered.insert(box);
      Sleep(300);
      k2v::shot::PrintPlace(box);
      Sleep(wait);
      const int button = GetDlgItem(box, IDYES) ? IDYES : IDOK;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    }
  });
  SendMessageW(window.Control("Command1"), BM_CLICK, 0, 0);
  done = true;
  answerer.join();
  return 0;
}
