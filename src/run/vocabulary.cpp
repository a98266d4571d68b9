#include "run/vocabulary.hpp"

#include <algorithm>
#include <set>

#include "io/record_reader.hpp"
#include "platform/files.hpp"
#include "soil/starter_vocabulary.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// How a file calls what it gives: G10A.TXT soil names ("words"), D12A.TXT
// stratum names ("names").
std::string Noun(const std::string& fileName, long long count) {
  const std::string noun = fileName == kD12AName ? "name" : "word";
  return count == 1 ? noun : noun + "s";
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Line(int line) { return "line " + std::to_string(line) + ": "; }

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

std::string VocabularyProblemText(const VocabularyProblem& problem, const std::string& fileName) {
  using Kind = VocabularyProblemKind;
  const std::string nouns = Noun(fileName, 2);
  const std::string saveAs = ", not Shift-JIS: its " + nouns + " do not match the descriptions; save it as Shift-JIS";
  switch (problem.kind) {
    case Kind::NoCode:
      return Line(problem.line) + "the code " + Quoted(problem.text) +
             " is not a whole number from -32768 to 32767; the line adds nothing";
    case Kind::EmptyWord: return Line(problem.line) + "the word (the third item) is empty; the line adds nothing";
    case Kind::CutWord:
      return Line(problem.line) + Quoted(problem.text) +
             " is never found as written: the converter takes off 質, 混り or 互層 and looks up " +
             (problem.lookedUp.empty() ? std::string("nothing") : Quoted(problem.lookedUp));
    case Kind::BeyondLimit:
      return Line(problem.line) + "more than " +
             std::to_string(fileName == kD12AName ? kMaxD12AEntries : kMaxG10AEntries) + " " + nouns +
             "; this line and the lines after it are not read";
    case Kind::CutShort:
      return Line(problem.line) + "the file ends inside this line's record of " + (fileName == kD12AName ? "3" : "4") +
             " items; the line adds nothing";
    case Kind::Utf8: return "saved as UTF-8" + saveAs;
    case Kind::Utf8Bom: return "saved as UTF-8 with a byte order mark" + saveAs;
    case Kind::Utf16: return "saved as UTF-16" + saveAs;
    case Kind::NotShiftJis: return Line(problem.line) + "bytes that are no Shift-JIS character";
  }
  return {};
}

std::string UnreadVocabularyFileText(const VocabularyReport& report, const std::string& path) {
  return path + ": never read: a conversion into " + WithoutFinalSeparator(report.destination) + " reads " + kG10AName +
         " and " + kD12AName + " from " + report.folder;
}

std::vector<std::string> VocabularyWarnings(const VocabularyReport& report) {
  std::vector<std::string> warnings;
  for (const ExtensionFileRead* file : {&report.read.g10a, &report.read.d12a}) {
    const std::string name = file == &report.read.g10a ? kG10AName : kD12AName;
    for (const VocabularyProblem& p : file->problems)
      warnings.push_back(file->path + ": " + VocabularyProblemText(p, name));
  }
  for (const std::string& path : report.unreadFiles) warnings.push_back(UnreadVocabularyFileText(report, path));
  return warnings;
}

std::string VocabularyFileSummary(const ExtensionFileRead& file, const std::string& fileName) {
  if (!file.exists) return "not found";
  return std::to_string(file.entries) + " " + Noun(fileName, file.entries);
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
