#include "cli/batch_command.hpp"

#include <ostream>

#include "cli/batch_progress.hpp"
#include "cli/catalog.hpp"
#include "cli/path_arguments.hpp"
#include "cli/terminal_front_end.hpp"
#include "cli/usage_texts.hpp"
#include "platform/arguments.hpp"
#include "platform/files.hpp"
#include "platform/folder_walk.hpp"
#include "run/batch_run.hpp"
#include "run/paths.hpp"
#include "run/uncoded_list.hpp"
#include "run/vantor_folders.hpp"

namespace k2v {

namespace {

const char* Usage() {
  return _("Usage: kolbrix2vantor --batch [--yes] [--jobs N] [--system-dir DIR] SOURCE_ROOT DESTINATION_ROOT\n");
}

// The missing folders listed before the folder question; the rest are counted.
constexpr size_t kListedMissingFolders = 10;

void PrintHelp(std::ostream& out) {
  out << Usage()
      << _("Convert every Kolbrix export below SOURCE_ROOT (each folder that holds a\n"
           "non-empty x1.txt) into the same relative folder below DESTINATION_ROOT,\n"
           "each exactly as a single conversion into that folder would. Hidden folders\n"
           "(whose names begin with \".\", such as a trash can) are passed over.\n"
           "\n"
           "  -y, --yes             create missing destination folders without asking\n"
           "  -j, --jobs N          borings converted at the same time (default: the\n"
           "                        number of processors)\n"
           "      --system-dir DIR  folder that holds Radudi32.ini\n"
           "  -h, --help            display this help and exit\n")
      << "\n"
      << SysDirLookupHelp(Translate) << "\n"
      << FormatText(_("Progress goes to stderr, the summary to stdout, one row per boring to\n"
                      "DESTINATION_ROOT/%1$s, and one row per soil name\n"
                      "that found no code (with what gives it one) to\n"
                      "DESTINATION_ROOT/%2$s.\n"),
                    {kBatchReportName, kUncodedListName})
      << "\n"
      << _("Exit status: 0 every boring converted, 1 a boring refused and none failed,\n"
           "2 wrong usage, 3 a boring failed.\n");
}

int UsageError(std::ostream& err, const std::string& problem) {
  err << "kolbrix2vantor: " << problem << "\n" << Usage() << TryHelpLine();
  return 2;
}

// A positive whole number of jobs, or 0.
unsigned ParseJobs(const std::string& text) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  return static_cast<unsigned>(std::stoul(text));
}

std::string OverlapMessage(RootOverlap overlap, const std::string& source, const std::string& destination) {
  switch (overlap) {
    case RootOverlap::Same:
      return FormatText(_("SOURCE_ROOT %1$s and DESTINATION_ROOT %2$s are the same folder"), {source, destination});
    case RootOverlap::DestinationInsideSource:
      return FormatText(_("DESTINATION_ROOT %2$s lies inside SOURCE_ROOT %1$s"), {source, destination});
    case RootOverlap::SourceInsideDestination:
      return FormatText(_("SOURCE_ROOT %1$s lies inside DESTINATION_ROOT %2$s"), {source, destination});
    case RootOverlap::None: break;
  }
  return {};
}

// Asks the folder question once for every missing folder of the batch.
MessageAnswer AskForFolders(const std::vector<std::string>& missing, bool yes, bool interactive, std::ostream& out,
                            std::ostream& err) {
  err << FormatText(P_("%s destination folder is missing:", "%s destination folders are missing:", missing.size()),
                    {std::to_string(missing.size())})
      << "\n";
  for (size_t i = 0; i < missing.size() && i < kListedMissingFolders; ++i) err << "  " << missing[i] << "\n";
  if (missing.size() > kListedMissingFolders) {
    err << "  " << FormatText(_("and %s more"), {std::to_string(missing.size() - kListedMissingFolders)}) << "\n";
  }
  TerminalFrontEnd ui(out, err, yes, interactive);
  ui.SetNoTerminalHint(std::string("kolbrix2vantor: ") + P_("that folder does not exist; --yes creates it",
                                                            "those folders do not exist; --yes creates them",
                                                            missing.size()));
  return ui.ShowMessage(run_text::kCreateFolder, "", MessageIcon::Question, MessageButtons::YesNo);
}

// Converted borings whose destinations lack levels of Vantor's layout: the
// warning of a single run for the first, and how many more there are.
void WarnShallowDestinations(std::ostream& err, const std::vector<BatchBoring>& borings,
                             const std::vector<BoringResult>& results) {
  std::string first;
  size_t more = 0;
  for (size_t i = 0; i < borings.size() && i < results.size(); ++i) {
    const BoringOutcome outcome = results[i].outcome;
    if (outcome != BoringOutcome::Converted && outcome != BoringOutcome::ConvertedWithWarnings) continue;
    const std::string warning = MissingLevelsWarning(borings[i].destination);
    if (warning.empty()) continue;
    if (first.empty()) {
      first = warning;
    } else {
      ++more;
    }
  }
  if (first.empty()) return;
  err << first << "\n";
  if (more > 0) {
    err << "kolbrix2vantor: "
        << FormatText(P_("warning: so does %s more destination of this batch",
                         "warning: so do %s more destinations of this batch", more),
                      {std::to_string(more)})
        << "\n";
  }
}

}  // namespace

bool IsBatchCommand(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--batch") return true;
  }
  return false;
}

int RunBatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    BatchTerminal terminal) {
  bool yes = false;
  unsigned jobs = 0;
  std::string systemDir;
  bool systemDirGiven = false;
  std::vector<std::string> positional;
  bool onlyPositional = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string jobsText;
    const OptionValue jobsOption = onlyPositional ? OptionValue::NotThisOption
                                                  : TakeOptionValue(args, i, "--jobs", "-j", jobsText);
    const OptionValue systemDirOption = onlyPositional || jobsOption != OptionValue::NotThisOption
                                            ? OptionValue::NotThisOption
                                            : TakeOptionValue(args, i, "--system-dir", "", systemDir);
    if (jobsOption == OptionValue::Missing) {
      return UsageError(err, MissingValueProblem(arg));
    } else if (jobsOption == OptionValue::Taken) {
      if ((jobs = ParseJobs(jobsText)) == 0) return UsageError(err, _("--jobs needs a whole number from 1"));
    } else if (systemDirOption == OptionValue::Missing) {
      return UsageError(err, MissingValueProblem("--system-dir"));
    } else if (systemDirOption == OptionValue::Taken) {
      systemDirGiven = true;
    } else if (onlyPositional || arg.empty() || arg[0] != '-' || arg == "-") {
      positional.push_back(arg);
    } else if (arg == "--") {
      onlyPositional = true;
    } else if (arg == "--batch") {
      // The mode itself; IsBatchCommand found it.
    } else if (arg == "--help" || arg == "-h") {
      PrintHelp(out);
      return 0;
    } else if (arg == "--yes" || arg == "-y") {
      yes = true;
    } else {
      return UsageError(err, UnknownOptionProblem(arg));
    }
  }
  if (positional.size() != 2) return UsageError(err, _("expected SOURCE_ROOT and DESTINATION_ROOT"));

  const std::string sourceRoot = FolderArgument(positional[0]);
  const std::string destinationRoot = FolderArgument(positional[1]);
  if (sourceRoot.empty() || destinationRoot.empty()) {
    return UsageError(err, _("SOURCE_ROOT and DESTINATION_ROOT must not be empty"));
  }
  if (!FolderExists(sourceRoot)) {
    err << "kolbrix2vantor: " << FormatText(_("SOURCE_ROOT %s is no folder"), {sourceRoot}) << "\n";
    return 1;
  }
  // Refused before anything is written: the batch would convert its own
  // output, or write into the exports it reads.
  const RootOverlap overlap = CheckRootOverlap(sourceRoot, destinationRoot);
  if (overlap != RootOverlap::None) {
    err << "kolbrix2vantor: " << OverlapMessage(overlap, sourceRoot, destinationRoot) << "\n";
    return 1;
  }

  const std::vector<BatchBoring> borings = FindBorings(sourceRoot, destinationRoot);
  if (borings.empty()) {
    err << "kolbrix2vantor: "
        << FormatText(_("no export folder (a folder with a non-empty x1.txt) in %s"), {sourceRoot}) << "\n";
    return 1;
  }

  BatchOptions options;
  if (systemDirGiven) options.run.systemDir = systemDir;
  options.jobs = jobs > 0 ? jobs : ProcessorCount();
  options.translate = Translate;
  const std::vector<std::string> missing = MissingDestinationFolders(destinationRoot, borings);
  if (!missing.empty()) {
    options.folderAnswer = AskForFolders(missing, yes, terminal.input, out, err);
    if (options.folderAnswer == MessageAnswer::Yes) CreateBatchFolders(destinationRoot, borings);
  }

  BatchProgress progress(err, borings.size(), terminal.errors);
  const std::vector<BoringResult> results = RunBatch(borings, options, progress);
  progress.Close();
  WarnShallowDestinations(err, borings, results);

  PrintBatchSummary(out, results);
  const BatchCounts counts = CountResults(results);
  int status = counts.failed > 0 ? 3 : counts.refused > 0 ? 1 : 0;
  if (FolderExists(destinationRoot)) {
    // A file that cannot be written keeps its earlier content, if any.
    auto tell = [&](const char* written, const char* notWritten, const char* problem, auto write) {
      try {
        out << FormatText(written, {write(destinationRoot, results)}) << "\n";
      } catch (const FileError& e) {
        out << FormatText(notWritten, {e.path(), e.reason()}) << "\n";
        err << "kolbrix2vantor: " << FormatText(problem, {e.what()}) << "\n";
        status = 3;
      }
    };
    tell(_("Report: %s"), _("No report: %1$s could not be written: %2$s"), _("the report could not be written: %s"),
         WriteBatchReport);
    tell(_("Soil names without a code: %s"), _("No list of soil names without a code: %1$s could not be written: %2$s"),
         _("the list of soil names without a code could not be written: %s"), WriteBatchUncodedList);
  } else {
    out << FormatText(_("No report: %s does not exist"), {destinationRoot}) << "\n";
  }
  return status;
}

}  // namespace k2v
