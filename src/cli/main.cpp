// kolbrix2vantor [--yes] [--system-dir DIR] [--uncoded FILE] SOURCE DESTINATION
// kolbrix2vantor --batch ... SOURCE_ROOT DESTINATION_ROOT (cli/batch_command.hpp)
// kolbrix2vantor --vocabulary [--add-starter-words] DESTINATION (cli/vocabulary_command.hpp)
//
// Exit status: 0 converted (warnings on stderr), 1 refused by a check,
// 2 wrong usage, 3 a failure inside a stage.

#include <unistd.h>

#include <ostream>
#include <string>
#include <vector>

#include "cli/batch_command.hpp"
#include "cli/catalog.hpp"
#include "cli/path_arguments.hpp"
#include "cli/terminal_front_end.hpp"
#include "cli/usage_texts.hpp"
#include "cli/vocabulary_command.hpp"
#include "platform/arguments.hpp"
#include "platform/console_text.hpp"
#include "platform/files.hpp"
#include "run/conversion_run.hpp"
#include "run/paths.hpp"
#include "run/uncoded_list.hpp"
#include "run/vantor_folders.hpp"
#include "version.hpp"

namespace {

const char* Usage() {
  return _("Usage: kolbrix2vantor [--yes] [--system-dir DIR] [--uncoded FILE] SOURCE DESTINATION\n");
}

int UsageError(std::ostream& err, const std::string& message) {
  err << "kolbrix2vantor: " << message << "\n" << Usage() << k2v::TryHelpLine();
  return 2;
}

void PrintHelp(std::ostream& out) {
  out << Usage()
      << _("Convert the Kolbrix export in SOURCE into Vantor's data files in DESTINATION.\n"
           "\n"
           "  -y, --yes             create a missing DESTINATION folder without asking\n"
           "      --system-dir DIR  folder that holds Radudi32.ini\n"
           "      --uncoded FILE    write the soil names that found no code, each with\n"
           "                        what gives it one, to FILE, a CSV file\n"
           "      --batch           convert every export below a folder (see --batch --help)\n"
           "      --vocabulary      show the G10A.TXT and D12A.TXT a conversion into a\n"
           "                        destination reads, and add the starter words to\n"
           "                        them (see --vocabulary --help)\n"
           "  -h, --help            display this help and exit\n"
           "  -V, --version         output version information and exit\n")
      << "\n"
      << k2v::SysDirLookupHelp(k2v::Translate) << "\n"
      << _("Exit status: 0 converted, 1 refused by a check, 2 wrong usage,\n"
           "3 a file operation failed during the conversion, or an internal error.\n");
}

int Main(int argc, char** argv, std::ostream& out, std::ostream& err) {
  bool yes = false;
  std::string systemDir;
  bool systemDirGiven = false;
  std::string uncodedList;
  std::vector<std::string> positional;
  bool onlyPositional = false;
  const std::vector<std::string> args = k2v::CommandLineArguments(argc, argv);
  if (k2v::IsBatchCommand(args)) {
    return k2v::RunBatchCommand(args, out, err, {isatty(STDIN_FILENO) != 0, isatty(STDERR_FILENO) != 0});
  }
  if (k2v::IsVocabularyCommand(args)) return k2v::RunVocabularyCommand(args, out, err);
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
      return UsageError(err, k2v::MissingValueProblem("--system-dir"));
    } else if (uncodedOption == k2v::OptionValue::Missing) {
      return UsageError(err, k2v::MissingValueProblem("--uncoded"));
    } else if (uncodedOption == k2v::OptionValue::Taken) {
      if (uncodedList.empty())
        return UsageError(err, k2v::FormatText(_("option '%s' needs a file name"), {"--uncoded"}));
    } else if (onlyPositional || arg.empty() || arg[0] != '-' || arg == "-") {
      positional.push_back(arg);
    } else if (arg == "--") {
      onlyPositional = true;
    } else if (arg == "--help" || arg == "-h") {
      PrintHelp(out);
      return 0;
    } else if (arg == "--version" || arg == "-V") {
      out << "kolbrix2vantor " << K2V_VERSION << "\n";
      return 0;
    } else if (arg == "--yes" || arg == "-y") {
      yes = true;
    } else if (arg == "--add-starter-words") {
      return UsageError(err, k2v::FormatText(_("option '%s' goes with --vocabulary"), {"--add-starter-words"}));
    } else {
      return UsageError(err, k2v::UnknownOptionProblem(arg));
    }
  }
  if (positional.size() != 2) return UsageError(err, _("expected SOURCE and DESTINATION"));

  const std::string source = k2v::PathArgument(positional[0]);
  const std::string destination = k2v::FolderArgument(positional[1]);
  // Named against the folder the command started in, before the run looks at drives.
  const std::string uncodedPath = uncodedList.empty() ? std::string() : k2v::PathArgument(uncodedList);
  // The export's folder is never written to.
  if (!uncodedPath.empty() && !source.empty() && k2v::LandsInsideFolder(uncodedPath, source)) {
    return UsageError(err, k2v::FormatText(_("--uncoded %1$s lies inside SOURCE %2$s"), {uncodedPath, source}));
  }

  k2v::TerminalFrontEnd ui(out, err, yes, isatty(STDIN_FILENO) != 0);
  ui.SetNoTerminalHint("kolbrix2vantor: " + k2v::FormatText(_("%s does not exist; --yes creates it"), {destination}));
  k2v::RunOptions options;
  if (systemDirGiven) options.systemDir = systemDir;
  k2v::ConversionRun run(ui, k2v::NativePathRules(), options);
  k2v::RunResult result = run.Run(source, destination);

  for (const std::string& warning : result.warnings) err << warning << "\n";
  if (result.outcome == k2v::RunOutcome::Finished) {
    for (const std::string& warning : k2v::VocabularyWarnings(result.vocabulary, k2v::Translate))
      err << "kolbrix2vantor: " << k2v::FormatText(_("warning: %s"), {warning}) << "\n";
    if (const std::string warning = k2v::MissingLevelsWarning(destination); !warning.empty()) err << warning << "\n";
  }
  if (!ui.status().empty()) out << ui.status() << "\n";
  if (!uncodedPath.empty() && result.outcome == k2v::RunOutcome::Finished) {
    try {
      k2v::WriteUncodedList(uncodedPath, source, result.uncodedNames);
    } catch (const k2v::FileError& e) {
      err << "kolbrix2vantor: "
          << k2v::FormatText(_("the list of soil names without a code could not be written: %s"), {e.what()}) << "\n";
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

}  // namespace

int main(int argc, char** argv) {
  k2v::SetUpMessageCatalog();
  k2v::StandardText text;
  std::ostream& out = text.out();
  std::ostream& err = text.err();
  // A file past the size limit fails with its error and is reported.
  k2v::IgnoreFileSizeSignal();
  // No error ends the program unreported: what the run does not report
  // itself is told here, with exit status 3.
  try {
    return Main(argc, argv, out, err);
  } catch (const k2v::FileError& e) {
    err << "kolbrix2vantor: " << k2v::run_text::kFileOperationFailed << "\n" << e.path() << "\n" << e.reason() << "\n";
  } catch (const std::exception& e) {
    err << "kolbrix2vantor: " << k2v::run_text::kInternalError << "\n" << e.what() << "\n";
  }
  return 3;
}
