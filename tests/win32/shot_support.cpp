#include "shot_support.hpp"

#include <cstdio>

#include "platform/wide_text.hpp"
#include "window/window_options.hpp"

namespace k2v::shot {

namespace {

void CALLBACK CloseWindow(HWND window, UINT, UINT_PTR, DWORD) { PostMessageW(window, WM_CLOSE, 0, 0); }

}  // namespace

WindowSetup SetupFor(const std::string& radudi, const std::string& systemDir) {
  return ReadWindowCommand({"--radudi", radudi, "--system-dir", systemDir}).setup;
}

bool ShowWithPaths(Form1Window& window, const std::string& source, const std::string& destination) {
  if (!window.Model().Form_Load()) return false;
  ShowWindow(window.Control("Form1"), SW_SHOW);
  SendMessageW(window.Control("Text2"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(source).c_str()));
  SendMessageW(window.Control("Text1"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(destination).c_str()));
  return true;
}

void PrintPlace(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  std::fflush(stdout);
}

void CloseAfter(HWND window, int seconds) { SetTimer(window, 1, static_cast<UINT>(seconds * 1000), CloseWindow); }

}  // namespace k2v::shot
