#include "cli/vocabulary_command.hpp"

#include <ostream>

#include "cli/catalog.hpp"
#include "cli/path_arguments.hpp"
#include "cli/terminal_front_end.hpp"
#include "cli/usage_texts.hpp"
#include "platform/files.hpp"
#include "run/conversion_run.hpp"
#include "run/paths.hpp"
#include "run/vocabulary.hpp"

namespace k2v {

namespace {

const char* Usage() { return _("Usage: kolbrix2vantor --vocabulary [--add-starter-words] DESTINATION\n"); }

void PrintHelp(std::ostream& out) {
  out << Usage()
      << _("Show, without converting, the vocabulary folder whose G10A.TXT (soil names)\n"
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
           "or written.\n");
}

int UsageError(std::ostream& err, const std::string& problem) {
  err << "kolbrix2vantor: " << problem << "\n" << Usage() << TryHelpLine();
  return 2;
}

// D12A.TXT gives stratum names ("names"), G10A.TXT words of soil names ("words").
bool GivesNames(const std::string& fileName) { return fileName == kD12AName; }

// Why --add-starter-words left a file as it was.
std::string RefusalText(const StarterWordsAdded& added) {
  const bool names = GivesNames(added.fileName);
  switch (added.refusal) {
    case StarterRefusal::None: break;
    case StarterRefusal::NotShiftJis:
      return FormatText(_("%s is not Shift-JIS: nothing added; save it as Shift-JIS, then add again"), {added.path});
    case StarterRefusal::CutShort:
      return FormatText(_("%s ends inside a record: nothing added; complete or remove its last record, then add again"),
                        {added.path});
    case StarterRefusal::EndOfFileMark:
      return FormatText(_("%s holds an end-of-file mark (Ctrl+Z): nothing added; remove it, then add again"),
                        {added.path});
    case StarterRefusal::TooManyWords:
      return FormatText(names
                            ? _("%s would hold more names than its table takes with the starter names: nothing added")
                            : _("%s would hold more words than its table takes with the starter words: nothing added"),
                        {added.path});
  }
  return {};
}

// What --add-starter-words did to one file; false when it refused.
bool PrintAdded(std::ostream& out, std::ostream& err, const StarterWordsAdded& added) {
  if (added.refusal != StarterRefusal::None) {
    err << "kolbrix2vantor: " << RefusalText(added) << "\n";
    return false;
  }
  const bool names = GivesNames(added.fileName);
  if (added.starterLines == 0) {
    out << FormatText(names ? _("%s: the starter vocabulary holds no names for it; nothing added")
                            : _("%s: the starter vocabulary holds no words for it; nothing added"),
                      {added.fileName})
        << "\n";
  } else if (added.lines.empty()) {
    out << FormatText(names ? _("%s holds every starter name already; nothing added")
                            : _("%s holds every starter word already; nothing added"),
                      {added.path})
        << "\n";
  } else {
    const unsigned long n = added.lines.size();
    const char* pattern =
        names
            ? (added.created ? P_("Added %1$s name to %2$s (a new file):", "Added %1$s names to %2$s (a new file):", n)
                             : P_("Added %1$s name to %2$s:", "Added %1$s names to %2$s:", n))
            : (added.created ? P_("Added %1$s word to %2$s (a new file):", "Added %1$s words to %2$s (a new file):", n)
                             : P_("Added %1$s word to %2$s:", "Added %1$s words to %2$s:", n));
    out << FormatText(pattern, {std::to_string(added.lines.size()), added.path}) << "\n";
    for (const std::string& line : added.lines) out << "  " << line << "\n";
  }
  return true;
}

void PrintFile(std::ostream& out, const ExtensionFileRead& file, const std::string& fileName) {
  out << fileName << ": " << VocabularyFileSummary(file, fileName);
  if (file.exists) out << " (" << file.path << ")";
  out << "\n";
  for (const VocabularyProblem& problem : file.problems) {
    out << "  " << VocabularyProblemText(problem, fileName, Translate) << "\n";
  }
}

}  // namespace

std::string VocabularyFileSummary(const ExtensionFileRead& file, const std::string& fileName) {
  if (!file.exists) return _("not found");
  const unsigned long count = static_cast<unsigned long>(file.entries);
  return FormatText(GivesNames(fileName) ? P_("%s name", "%s names", count) : P_("%s word", "%s words", count),
                    {std::to_string(file.entries)});
}

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
      return UsageError(err, UnknownOptionProblem(arg));
    }
  }
  if (positional.size() != 1) return UsageError(err, _("expected DESTINATION"));
  const std::string destination = FolderArgument(positional[0]);
  if (destination.empty()) return UsageError(err, _("DESTINATION must not be empty"));

  // The destination as a conversion takes it, after the same check.
  const PathRules& rules = NativePathRules();
  TerminalFrontEnd ui(out, err, false, false);
  std::string destinationFolder = destination;
  if (!rules.ValidatePath(destinationFolder, ui)) {
    ui.ShowMessage(run_text::kInvalidPath, destination, MessageIcon::Exclamation, MessageButtons::Ok);
    return 1;
  }
  const std::string folder = VocabularyFolder(destinationFolder, rules.Separator());
  out << FormatText(_("Vocabulary folder of %1$s: %2$s"), {destination, folder}) << "\n";

  int status = 0;
  try {
    if (addStarterWords) {
      if (!FolderExists(folder)) {
        err << "kolbrix2vantor: " << FormatText(_("%s does not exist: nothing added; create it first"), {folder})
            << "\n";
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
    for (const std::string& path : report.unreadFiles) out << UnreadVocabularyFileText(report, path, Translate) << "\n";
  } catch (const FileError& e) {
    err << "kolbrix2vantor: " << e.what() << "\n";
    return 3;
  }
  if (const std::string warning = MissingLevelsWarning(destination); !warning.empty()) err << warning << "\n";
  return status;
}

}  // namespace k2v
