// For scripts/screenshot_windows.sh: opens the Win32 window, converts a
// source folder into a destination folder through its controls (answering
// the folder question with Yes), prints the window's place on the screen as
// "left top width height" and keeps the window open for some seconds.
//   win32_window_shot SOURCE DESTINATION RADUDI SYSTEM-DIR SECONDS

#include <windows.h>

#include <cstdio>
#include <string>

#include "app_win32/form1_window.hpp"
#include "platform/arguments.hpp"
#include "platform/system_folders.hpp"
#include "platform/volumes.hpp"
#include "platform/wide_text.hpp"

namespace {

HWND shown = nullptr;

void CALLBACK CloseShown(HWND, UINT, UINT_PTR, DWORD) {
  if (shown) PostMessageW(shown, WM_CLOSE, 0, 0);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = k2v::CommandLineArguments(argc, argv);
  if (args.size() != 5) return 2;
  k2v::WindowSetup setup;
  setup.volumes = k2v::MountedVolumes();
  setup.programFolder = k2v::ProgramFolder();
  setup.givenRadudi = args[2];
  setup.givenRadudiBy = "--radudi";
  setup.runOptions.systemDir = args[3];
  k2v::Form1Window window(setup);
  window.SetMessageSeam([](const k2v::MessageBoxContent&) { return k2v::MessageAnswer::Yes; });
  if (!window.Model().Form_Load()) return 1;
  ShowWindow(window.Control("Form1"), SW_SHOW);
  SendMessageW(window.Control("Text2"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(k2v::Widen(args[0]).c_str()));
  SendMessageW(window.Control("Text1"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(k2v::Widen(args[1]).c_str()));
  SendMessageW(window.Control("Command1"), BM_CLICK, 0, 0);
  RECT r{};
  GetWindowRect(window.Control("Form1"), &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  std::fflush(stdout);
  shown = window.Control("Form1");
  SetTimer(nullptr, 0, static_cast<UINT>(std::stoi(args[4]) * 1000), CloseShown);
  return window.Run();
}
