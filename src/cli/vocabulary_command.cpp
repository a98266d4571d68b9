#include "cli/vocabulary_command.hpp"

#include <ostream>

#include "cli/path_arguments.hpp"
#include "cli/terminal_front_end.hpp"
#include "platform/files.hpp"
#include "run/conversion_run.hpp"
#include "run/paths.hpp"
#include "run/vocabulary.hpp"

namespace k2v {

namespace {

constexpr const char* kUsage = "Usage: kolbrix2vantor --vocabulary [--add-starter-words] DESTINATION\n";

void PrintHelp(std::ostream& out) {
  out << kUsage
      << "Show, without converting, the vocabulary folder whose G10A.TXT (soil names)\n"
         "and D12A.TXT (stratum names) a conversion into DESTINATION reads: the folder\n"
         "of its first four levels. Tell what the files hold, every line that adds\n"
         "nothing, and the files in DESTINATION or between that no conversion reads.\n"
         "DESTINATION need not exist.\n"
         "\n"
         "      --add-starter-words  first add to that folder's G10A.TXT and D12A.TXT\n"
         "                           the starter words that come with the program (the\n"
         "                           lines a file lacks; its own lines stay as they are)\n"
         "  -h, --help               display this help and exit\n"
         "\n"
         "Exit status: 0 looked, 1 refused (no such vocabulary folder, a file that\n"
         "cannot take the starter words), 2 wrong usage, 3 a file could not be read\n"
         "or written.\n";
}

int UsageError(std::ostream& err, const std::string& problem) {
  err << "kolbrix2vantor: " << problem << "\n" << kUsage << "Try 'kolbrix2vantor --help' for more information.\n";
  return 2;
}

std::string Nouns(const std::string& fileName) { return fileName == kD12AName ? "names" : "words"; }

// What --add-starter-words did to one file; false when it refused.
bool PrintAdded(std::ostream& out, std::ostream& err, const StarterWordsAdded& added) {
  const std::string nouns = Nouns(added.fileName);
  switch (added.refusal) {
    case StarterRefusal::None: break;
    case StarterRefusal::NotShiftJis:
      err << "kolbrix2vantor: " << added.path
          << " is not Shift-JIS: nothing added; save it as Shift-JIS, then add again\n";
      return false;
    case StarterRefusal::CutShort:
      err << "kolbrix2vantor: " << added.path
          << " ends inside a record: nothing added; complete or remove its last record, then add again\n";
      return false;
    case StarterRefusal::EndOfFileMark:
      err << "kolbrix2vantor: " << added.path
          << " holds an end-of-file mark (Ctrl+Z): nothing added; remove it, then add again\n";
      return false;
    case StarterRefusal::TooManyWords:
      err << "kolbrix2vantor: " << added.path << " would hold more " << nouns
          << " than its table takes with the starter " << nouns << ": nothing added\n";
      return false;
  }
  if (added.starterLines == 0) {
    out << added.fileName << ": the starter vocabulary holds no " << nouns << " for it; nothing added\n";
  } else if (added.lines.empty()) {
    out << added.path << " holds every starter " << (nouns == "names" ? "name" : "word") << " already; nothing added\n";
  } else {
    out << "Added " << added.lines.size() << " " << nouns << " to " << added.path
        << (added.created ? " (a new file)" : "") << ":\n";
    for (const std::string& line : added.lines) out << "  " << line << "\n";
  }
  return true;
}

void PrintFile(std::ostream& out, const ExtensionFileRead& file, const std::string& fileName) {
  out << fileName << ": " << VocabularyFileSummary(file, fileName);
  if (file.exists) out << " (" << file.path << ")";
  out << "\n";
  for (const VocabularyProblem& problem : file.problems) {
    out << "  " << VocabularyProblemText(problem, fileName) << "\n";
  }
}

}  // namespace

bool IsVocabularyCommand(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--vocabulary") return true;
  }
  return false;
}

int RunVocabularyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool addStarterWords = false;
  bool onlyPositional = false;
  std::vector<std::string> positional;
  for (const std::string& arg : args) {
    if (onlyPositional || arg.empty() || arg[0] != '-' || arg == "-") {
      positional.push_back(arg);
    } else if (arg == "--") {
      onlyPositional = true;
    } else if (arg == "--vocabulary") {
      // The mode itself; IsVocabularyCommand found it.
    } else if (arg == "--add-starter-words") {
      addStarterWords = true;
    } else if (arg == "--help" || arg == "-h") {
      PrintHelp(out);
      return 0;
    } else {
      return UsageError(err, "unrecognized option '" + arg + "'");
    }
  }
  if (positional.size() != 1) return UsageError(err, "expected DESTINATION");
  const std::string destination = FolderArgument(positional[0]);
  if (destination.empty()) return UsageError(err, "DESTINATION must not be empty");

  // The destination as a conversion takes it, after the same check.
  const PathRules& rules = NativePathRules();
  TerminalFrontEnd ui(out, err, false, false);
  std::string destinationFolder = destination;
  if (!rules.ValidatePath(destinationFolder, ui)) {
    ui.ShowMessage(run_text::kInvalidPath, destination, MessageIcon::Exclamation, MessageButtons::Ok);
    return 1;
  }
  const std::string folder = VocabularyFolder(destinationFolder, rules.Separator());
  out << "Vocabulary folder of " << destination << ": " << folder << "\n";

  int status = 0;
  try {
    if (addStarterWords) {
      if (!FolderExists(folder)) {
        err << "kolbrix2vantor: " << folder << " does not exist: nothing added; create it first\n";
        return 1;
      }
      for (const StarterWordsAdded& added : AddStarterWords(folder)) {
        if (!PrintAdded(out, err, added)) status = 1;
      }
    }
    SoilWordTables tables;
    const VocabularyReport report = BuildVocabulary(tables, destinationFolder, rules.Separator());
    PrintFile(out, report.read.g10a, kG10AName);
    PrintFile(out, report.read.d12a, kD12AName);
    for (const std::string& path : report.unreadFiles) out << UnreadVocabularyFileText(report, path) << "\n";
  } catch (const FileError& e) {
    err << "kolbrix2vantor: " << e.what() << "\n";
    return 3;
  }
  if (const std::string warning = MissingLevelsWarning(destination); !warning.empty()) err << warning << "\n";
  return status;
}

}  // namespace k2v
