// kolbrix2vantor [--yes] [--system-dir DIR] SOURCE DESTINATION
// kolbrix2vantor --batch ... SOURCE_ROOT DESTINATION_ROOT (cli/batch_command.hpp)
//
// Exit status: 0 converted (warnings on stderr), 1 refused by a check,
// 2 wrong usage, 3 a failure inside a stage.

#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <iostream>
#include <string>
#include <vector>

#include "cli/batch_command.hpp"
#include "cli/terminal_front_end.hpp"
#include "platform/arguments.hpp"
#include "platform/files.hpp"
#include "run/conversion_run.hpp"
#include "run/paths.hpp"
#include "text/sjis_text.hpp"

namespace {

constexpr const char* kUsage = "Usage: kolbrix2vantor [--yes] [--system-dir DIR] SOURCE DESTINATION\n";
constexpr const char* kTryHelp = "Try 'kolbrix2vantor --help' for more information.\n";

int UsageError(const std::string& message) {
  std::cerr << "kolbrix2vantor: " << message << "\n" << kUsage << kTryHelp;
  return 2;
}

void PrintHelp() {
  std::cout << kUsage
            << "Convert the Kolbrix export in SOURCE into Vantor's data files in DESTINATION.\n"
               "\n"
               "  -y, --yes             create a missing DESTINATION folder without asking\n"
               "      --system-dir DIR  folder that holds Radudi32.ini\n"
               "      --batch           convert every export below a folder (see --batch --help)\n"
               "  -h, --help            display this help and exit\n"
               "  -V, --version         output version information and exit\n"
               "\n"
            << k2v::SysDirLookupHelp()
            << "\n"
               "Exit status: 0 converted, 1 refused by a check, 2 wrong usage,\n"
               "3 a file operation failed during the conversion.\n";
}

// Trimmed, absolute against the current folder, lexically normal; empty stays empty.
std::string NormalisePathArgument(const std::string& raw) {
  std::string text = k2v::Trim(raw);
  if (text.empty()) return text;
  std::filesystem::path p = k2v::NativePath(text);
  if (p.is_relative()) {
    // A current folder that was removed leaves the path relative, which the
    // path check then refuses.
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    if (!ec) p = here / p;
  }
  std::string normal = k2v::PathText(p.lexically_normal());
  return normal;
}

}  // namespace

int main(int argc, char** argv) {
  // A file past the size limit fails with its error and is reported.
  k2v::IgnoreFileSizeSignal();
  bool yes = false;
  std::string systemDir;
  bool systemDirGiven = false;
  std::vector<std::string> positional;
  bool onlyPositional = false;
  const std::vector<std::string> args = k2v::CommandLineArguments(argc, argv);
  if (k2v::IsBatchCommand(args)) {
    return k2v::RunBatchCommand(args, std::cout, std::cerr, {isatty(STDIN_FILENO) != 0, isatty(STDERR_FILENO) != 0});
  }
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const k2v::OptionValue systemDirOption =
        onlyPositional ? k2v::OptionValue::NotThisOption : k2v::TakeOptionValue(args, i, "--system-dir", "", systemDir);
    if (systemDirOption == k2v::OptionValue::Taken) {
      systemDirGiven = true;
    } else if (systemDirOption == k2v::OptionValue::Missing) {
      return UsageError("option '--system-dir' requires an argument");
    } else if (onlyPositional || arg.empty() || arg[0] != '-' || arg == "-") {
      positional.push_back(arg);
    } else if (arg == "--") {
      onlyPositional = true;
    } else if (arg == "--help" || arg == "-h") {
      PrintHelp();
      return 0;
    } else if (arg == "--version" || arg == "-V") {
      std::cout << "kolbrix2vantor " << K2V_VERSION << "\n";
      return 0;
    } else if (arg == "--yes" || arg == "-y") {
      yes = true;
    } else {
      return UsageError("unrecognized option '" + arg + "'");
    }
  }
  if (positional.size() != 2) return UsageError("expected SOURCE and DESTINATION");

  std::string source = NormalisePathArgument(positional[0]);
  std::string destination = NormalisePathArgument(positional[1]);
  // Shell completion adds a final "/"; a folder is meant.
  // (On Windows either separator, and a drive's root stays whole.)
  const char separator = k2v::NativePathRules().Separator();
  while (destination.size() > 1 && (destination.back() == '/' || destination.back() == separator) &&
         !(destination.size() == 3 && destination[1] == ':')) {
    destination.pop_back();
  }

  k2v::TerminalFrontEnd ui(std::cout, std::cerr, yes, isatty(STDIN_FILENO) != 0);
  ui.SetNoTerminalHint("kolbrix2vantor: " + destination + " does not exist; --yes creates it");
  k2v::RunOptions options;
  options.systemDir = systemDirGiven ? systemDir : k2v::SysDir();
  k2v::ConversionRun run(ui, k2v::NativePathRules(), options);
  k2v::RunResult result = run.Run(source, destination);

  for (const std::string& warning : result.warnings) std::cerr << warning << "\n";
  if (!ui.status().empty()) std::cout << ui.status() << "\n";
  switch (result.outcome) {
    case k2v::RunOutcome::Finished:
      return 0;
    case k2v::RunOutcome::Refused:
      return 1;
    case k2v::RunOutcome::Failed:
      return 3;
  }
  return 3;
}
