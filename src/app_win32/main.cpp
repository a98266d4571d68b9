// kolbrix2vantor-gui.exe [--system-dir DIR] [--radudi DIR] [--batch]: the
// converter's window, or its batch window, on Windows.

#include <windows.h>

#include "app_win32/batch_window_view.hpp"
#include "app_win32/form1_window.hpp"
#include "platform/arguments.hpp"
#include "platform/wide_text.hpp"
#include "window/window_options.hpp"

int main(int argc, char** argv) {
  const k2v::WindowCommand command = k2v::ReadWindowCommand(k2v::CommandLineArguments(argc, argv));
  if (command.action == k2v::WindowCommand::Action::Answer) {
    // A program without a console answers in a message box.
    MessageBoxW(nullptr, k2v::Widen(command.text).c_str(), L"kolbrix2vantor-gui",
                MB_OK | (command.error ? MB_ICONERROR : MB_ICONINFORMATION));
    return command.status;
  }
  if (command.action == k2v::WindowCommand::Action::OpenBatchWindow) {
    k2v::BatchWindowView batch(k2v::BatchWindowSetup{command.setup.runOptions});
    return batch.Run();
  }
  k2v::Form1Window window(command.setup);
  if (!window.Model().Form_Load()) return 1;
  return window.Run();
}
