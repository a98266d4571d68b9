// kolbrix2vantor [--yes] [--system-dir DIR] [--uncoded FILE] SOURCE DESTINATION
// kolbrix2vantor --batch ... SOURCE_ROOT DESTINATION_ROOT (cli/batch_command.hpp)
//
// Exit status: 0 converted (warnings on stderr), 1 refused by a check,
// 2 wrong usage, 3 a failure inside a stage.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/batch_command.hpp"
#include "cli/path_arguments.hpp"
#include "cli/terminal_front_end.hpp"
#include "platform/arguments.hpp"
#include "platform/files.hpp"
#include "run/conversion_run.hpp"
#include "run/paths.hpp"
#include "run/uncoded_list.hpp"
#include "run/vantor_folders.hpp"
#include "version.hpp"

namespace {

constexpr const char* kUsage = "Usage: kolbrix2vantor [--yes] [--system-dir DIR] [--uncoded FILE] SOURCE DESTINATION\n";
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
               "      --uncoded FILE    write the soil names that found no code (the words\n"
               "                        to add to G10A.TXT) to FILE, a CSV file\n"
               "      --batch           convert every export below a folder (see --batch --help)\n"
               "  -h, --help            display this help and exit\n"
               "  -V, --version         output version information and exit\n"
               "\n"
            << k2v::SysDirLookupHelp()
            << "\n"
               "Exit status: 0 converted, 1 refused by a check, 2 wrong usage,\n"
               "3 a file operation failed during the conversion, or an internal error.\n";
}

}  // namespace

int main(int argc, char** argv) {
  // A file past the size limit fails with its error and is reported.
  k2v::IgnoreFileSizeSignal();
  bool yes = false;
  std::string systemDir;
  bool systemDirGiven = false;
  std::string uncodedList;
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
    const k2v::OptionValue uncodedOption = onlyPositional || systemDirOption != k2v::OptionValue::NotThisOption
                                               ? k2v::OptionValue::NotThisOption
                                               : k2v::TakeOptionValue(args, i, "--uncoded", "", uncodedList);
    if (systemDirOption == k2v::OptionValue::Taken) {
      systemDirGiven = true;
    } else if (systemDirOption == k2v::OptionValue::Missing) {
      return UsageError("option '--system-dir' requires an argument");
    } else if (uncodedOption == k2v::OptionValue::Missing) {
      return UsageError("option '--uncoded' requires an argument");
    } else if (uncodedOption == k2v::OptionValue::Taken) {
      if (uncodedList.empty()) return UsageError("option '--uncoded' needs a file name");
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

  const std::string source = k2v::PathArgument(positional[0]);
  const std::string destination = k2v::FolderArgument(positional[1]);
  // Named against the folder the command started in, before the run looks at drives.
  const std::string uncodedPath = uncodedList.empty() ? std::string() : k2v::PathArgument(uncodedList);

  k2v::TerminalFrontEnd ui(std::cout, std::cerr, yes, isatty(STDIN_FILENO) != 0);
  ui.SetNoTerminalHint("kolbrix2vantor: " + destination + " does not exist; --yes creates it");
  k2v::RunOptions options;
  if (systemDirGiven) options.systemDir = systemDir;
  k2v::ConversionRun run(ui, k2v::NativePathRules(), options);
  k2v::RunResult result = run.Run(source, destination);

  for (const std::string& warning : result.warnings) std::cerr << warning << "\n";
  if (result.outcome == k2v::RunOutcome::Finished) {
    if (const std::string warning = k2v::MissingLevelsWarning(destination); !warning.empty())
      std::cerr << warning << "\n";
  }
  if (!ui.status().empty()) std::cout << ui.status() << "\n";
  if (!uncodedPath.empty() && result.outcome == k2v::RunOutcome::Finished) {
    try {
      k2v::WriteUncodedList(uncodedPath, source, result.uncodedNames);
    } catch (const k2v::FileError& e) {
      std::cerr << "kolbrix2vantor: the list of soil names without a code could not be written: " << e.what() << "\n";
      return 3;
    }
  }
  switch (result.outcome) {
    case k2v::RunOutcome::Finished: return 0;
    case k2v::RunOutcome::Refused: return 1;
    case k2v::RunOutcome::Failed: return 3;
  }
  return 3;
}
