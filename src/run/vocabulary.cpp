#include "run/vocabulary.hpp"

#include <algorithm>
#include <set>

#include "io/record_reader.hpp"
#include "platform/files.hpp"
#include "soil/starter_vocabulary.hpp"
#include "text/cp932.hpp"
#include "text/message_text.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

bool IsD12A(const std::string& fileName) { return fileName == kD12AName; }

// One file of the vocabulary as --add-starter-words sees it: how many items
// a record has, which of them is the word, how many entries it may hold.
struct ExtensionFormat {
  const char* name;
  int items;
  int wordItem;
  int limit;
  std::string_view starter;
};

// The words (or names) of every complete record of the bytes.
std::set<std::string> WordsOf(const std::string& bytes, const ExtensionFormat& format) {
  std::set<std::string> words;
  ForEachRecordInBytes(bytes, format.items, [&](const RecordReader& r) {
    if (r.RecordComplete) words.insert(r.Fields[static_cast<size_t>(format.wordItem)]);
  });
  return words;
}

// What the file tells as G10A.TXT (or D12A.TXT) when read alone.
ExtensionFileRead ReadAlone(const std::string& bytes, const ExtensionFormat& format) {
  SoilWordTables tables;
  VocabularyRead read;
  const bool g10a = format.name == std::string(kG10AName);
  BuildSoilWordTablesFromBytes(tables, g10a ? bytes : "", g10a ? "" : bytes, &read);
  return g10a ? read.g10a : read.d12a;
}

// Why the file cannot take the lines after its last one, if it cannot.
StarterRefusal Refusal(const std::string& bytes, const ExtensionFormat& format, size_t adding) {
  using Kind = VocabularyProblemKind;
  if (bytes.find('\x1a') != std::string::npos) return StarterRefusal::EndOfFileMark;
  const ExtensionFileRead read = ReadAlone(bytes, format);
  for (const VocabularyProblem& p : read.problems) {
    if (p.kind == Kind::Utf8 || p.kind == Kind::Utf8Bom || p.kind == Kind::Utf16) return StarterRefusal::NotShiftJis;
    if (p.kind == Kind::CutShort) return StarterRefusal::CutShort;
    if (p.kind == Kind::BeyondLimit) return StarterRefusal::TooManyWords;
  }
  if (static_cast<size_t>(read.entries) + adding > static_cast<size_t>(format.limit)) {
    return StarterRefusal::TooManyWords;
  }
  return StarterRefusal::None;
}

StarterWordsAdded AddStarterLines(const std::string& vocabularyFolder, const ExtensionFormat& format) {
  StarterWordsAdded added;
  added.fileName = format.name;
  added.path = ResolveCase(JoinPath(vocabularyFolder, format.name));
  const bool exists = FileExists(added.path);
  const std::string bytes = exists ? ReadFileBytes(added.path) : std::string();
  std::set<std::string> held = WordsOf(bytes, format);

  // The starter file holds one record a line, CR LF after each.
  std::string addition;
  const std::string_view starter = format.starter;
  for (size_t start = 0; start < starter.size();) {
    size_t end = starter.find("\r\n", start);
    if (end == std::string_view::npos) end = starter.size();
    const std::string line(starter.substr(start, end - start));
    start = end + 2;
    ++added.starterLines;
    const std::set<std::string> words = WordsOf(line, format);
    if (words.empty() || !held.insert(*words.begin()).second) continue;
    addition += line + "\r\n";
    std::string text;
    DecodeCp932Append(line, text);
    added.lines.push_back(std::move(text));
  }
  if (added.lines.empty()) return added;
  added.refusal = Refusal(bytes, format, added.lines.size());
  if (added.refusal != StarterRefusal::None) {
    added.lines.clear();
    return added;
  }
  // The new lines begin on a line of their own.
  const bool openLine = !bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r';
  WriteFileInOneStep(added.path, bytes + (openLine ? "\r\n" : "") + addition);
  added.created = !exists;
  return added;
}

}  // namespace

std::string VocabularyFolder(const std::string& destinationFolder, char separator) {
  const std::string sep(1, separator);
  const std::vector<std::string> components = SplitByDelimiter(destinationFolder, sep);
  // The first four levels, each followed by the separator; a level past the
  // end of the path is empty, and the separators after it name no folder.
  std::string folder;
  for (size_t k = 0; k < 4; ++k) folder += (k < components.size() ? components[k] : std::string()) + sep;
  return JoinPath(WithoutFinalSeparator(folder), "");
}

VocabularyReport BuildVocabulary(SoilWordTables& tables, const std::string& destinationFolder, char separator) {
  VocabularyReport report;
  report.destination = destinationFolder;
  report.folder = VocabularyFolder(destinationFolder, separator);
  BuildSoilWordTables(tables, report.folder, &report.read);
  // The levels below the vocabulary folder down to the destination.
  std::string level = report.folder;
  const std::string destination = JoinPath(WithoutFinalSeparator(destinationFolder), "");
  while (level.size() < destination.size()) {
    const size_t end = destination.find(separator, level.size());
    level = destination.substr(0, end == std::string::npos ? destination.size() : end + 1);
    for (const char* name : {kG10AName, kD12AName}) {
      const std::string path = JoinPath(level, name);
      if (FileExists(path)) report.unreadFiles.push_back(ResolveCase(path));
    }
  }
  return report;
}

std::string VocabularyProblemText(const VocabularyProblem& problem, const std::string& fileName,
                                  Translation translate) {
  using Kind = VocabularyProblemKind;
  const std::string line = std::to_string(problem.line);
  const bool d12a = IsD12A(fileName);
  // A file in another encoding: D12A.TXT's names match stratum names, G10A.TXT's words soil descriptions.
  auto savedAs = [&](const char* encoding) {
    return FormatText(translate(d12a ? N_("saved as %s, not Shift-JIS: its names do not match the descriptions; "
                                          "save it as Shift-JIS")
                                     : N_("saved as %s, not Shift-JIS: its words do not match the descriptions; "
                                          "save it as Shift-JIS")),
                      {translate(encoding)});
  };
  switch (problem.kind) {
    case Kind::NoCode:
      return FormatText(translate(N_("line %1$s: the code \"%2$s\" is not a whole number from -32768 to 32767; the "
                                     "line adds nothing")),
                        {line, problem.text});
    case Kind::EmptyWord:
      return FormatText(translate(N_("line %s: the word (the third item) is empty; the line adds nothing")), {line});
    case Kind::CutWord: {
      const bool nothing = problem.lookedUp.empty();
      const char* pattern =
          // TRANSLATORS: %3$s, %4$s, %5$s: the words taken off (shitsu, majiri, gosou).
          nothing ? N_("line %1$s: \"%2$s\" is never found as written: the converter takes off %3$s, %4$s or %5$s "
                       "and looks up nothing")
                  // TRANSLATORS: %3$s, %4$s, %5$s: the words taken off (shitsu, majiri, gosou).
                  : N_("line %1$s: \"%2$s\" is never found as written: the converter takes off %3$s, %4$s or %5$s "
                       "and looks up \"%6$s\"");
      return FormatText(translate(pattern), {line, problem.text, "質", "混り", "互層", problem.lookedUp});
    }
    case Kind::BeyondLimit:
      return FormatText(
          translate(d12a ? N_("line %1$s: more than %2$s names; this line and the lines after it are not read")
                         : N_("line %1$s: more than %2$s words; this line and the lines after it are not read")),
          {line, std::to_string(d12a ? kMaxD12AEntries : kMaxG10AEntries)});
    case Kind::CutShort:
      return FormatText(
          translate(N_("line %1$s: the file ends inside this line's record of %2$s items; the line adds nothing")),
          {line, d12a ? "3" : "4"});
    case Kind::Utf8: return savedAs("UTF-8");
    case Kind::Utf8Bom: return savedAs(N_("UTF-8 with a byte order mark"));
    case Kind::Utf16: return savedAs("UTF-16");
    case Kind::NotShiftJis: return FormatText(translate(N_("line %s: bytes that are no Shift-JIS character")), {line});
  }
  return {};
}

std::string UnreadVocabularyFileText(const VocabularyReport& report, const std::string& path, Translation translate) {
  return FormatText(translate(N_("%1$s: never read: a conversion into %2$s reads G10A.TXT and D12A.TXT from %3$s")),
                    {path, WithoutFinalSeparator(report.destination), report.folder});
}

std::vector<std::string> VocabularyWarnings(const VocabularyReport& report, Translation translate) {
  std::vector<std::string> warnings;
  for (const ExtensionFileRead* file : {&report.read.g10a, &report.read.d12a}) {
    const std::string name = file == &report.read.g10a ? kG10AName : kD12AName;
    for (const VocabularyProblem& p : file->problems)
      warnings.push_back(file->path + ": " + VocabularyProblemText(p, name, translate));
  }
  for (const std::string& path : report.unreadFiles) {
    warnings.push_back(UnreadVocabularyFileText(report, path, translate));
  }
  return warnings;
}

std::vector<StarterWordsAdded> AddStarterWords(const std::string& vocabularyFolder) {
  const ExtensionFormat formats[] = {
      {kG10AName, 4, 3, kMaxG10AEntries, StarterG10A_TXT()},
      {kD12AName, 3, 2, kMaxD12AEntries, StarterD12A_TXT()},
  };
  std::vector<StarterWordsAdded> added;
  for (const ExtensionFormat& format : formats) added.push_back(AddStarterLines(vocabularyFolder, format));
  return added;
}

}  // namespace k2v
