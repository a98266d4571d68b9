#pragma once
// The window program's command line, read once for both of its views (Qt and
// Win32):
//   kolbrix2vantor-gui [--system-dir DIR] [--radudi DIR] [--batch]
// A view's main() gives it the arguments and starts its toolkit with what
// it returns.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "window/form1.hpp"

namespace k2v {

struct WindowCommand {
  enum class Action {
    OpenWindow,       // Form1, with setup
    OpenBatchWindow,  // the batch window, with setup.runOptions (it needs no RADUDI folder)
    Answer,           // help, the version or a usage error: text, and the exit status
  };
  Action action = Action::OpenWindow;
  std::string text;
  // text is a usage error (for stderr, or an error box).
  bool error = false;
  int status = 0;
  WindowSetup setup;
};

// How many arguments from args[i] on are one of the toolkit's own options
// (Qt's -style fusion), which the program passes over; 0 for none.
using ToolkitOptionLength = std::function<std::size_t(const std::vector<std::string>& args, std::size_t i)>;

// Reads the arguments after the program's name. Help, the version and a
// usage error are answered before the toolkit starts, so that they need no
// display. For a window, the set-up is made from the options, the
// environment (KOLBRIX2VANTOR_RADUDI) and the system (its drives, the
// program's folder). toolkitHelp is the help's line about the toolkit's own
// options; empty when there are none.
WindowCommand ReadWindowCommand(const std::vector<std::string>& args, const ToolkitOptionLength& toolkitOption = {},
                                const std::string& toolkitHelp = "");

}  // namespace k2v
