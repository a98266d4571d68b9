#pragma once
// The vocabulary of a conversion: where G10A.TXT and D12A.TXT are read from
// (the folder of the destination's first four levels), what a conversion
// finds there, the warnings it gives about them, and the starter words put
// in place at the engineer's request.

#include <string>
#include <vector>

#include "soil/soil_word_tables.hpp"
#include "text/message_text.hpp"

namespace k2v {

inline constexpr const char* kG10AName = "G10A.TXT";
inline constexpr const char* kD12AName = "D12A.TXT";

// The vocabulary folder of a conversion into destinationFolder (the
// destination as the run takes it, ending in the separator): the folder of
// its first four levels, ending in the separator; the destination itself
// when it has no more levels.
std::string VocabularyFolder(const std::string& destinationFolder, char separator);

// What a conversion into a destination reads as its vocabulary.
struct VocabularyReport {
  // Both end in the separator; empty when the run stopped before it read
  // its vocabulary.
  std::string destination;
  std::string folder;
  VocabularyRead read{};
  // G10A.TXT and D12A.TXT files lying in the destination or in a folder
  // between it and the vocabulary folder: no conversion into it reads them.
  std::vector<std::string> unreadFiles{};
};

// Builds the soil word tables of a conversion into destinationFolder (as the
// run takes it) and tells what it read. Throws FileError when a file of the
// vocabulary exists but cannot be read.
VocabularyReport BuildVocabulary(SoilWordTables& tables, const std::string& destinationFolder, char separator);

// The texts below are in the language translate gives (the command line's
// catalog), English without it.

// The reason of one problem of a vocabulary file, without the file's name
// ("line 12: ...", or what is wrong with the whole file).
std::string VocabularyProblemText(const VocabularyProblem& problem, const std::string& fileName,
                                  Translation translate = Untranslated);
// The line that tells of a file no conversion into the destination reads.
std::string UnreadVocabularyFileText(const VocabularyReport& report, const std::string& path,
                                     Translation translate = Untranslated);
// Every problem of the report on a line of its own, each naming its file:
// the command line's warnings and the batch's notes in a boring's row.
std::vector<std::string> VocabularyWarnings(const VocabularyReport& report, Translation translate = Untranslated);

// Why the starter words were not added to a file.
enum class StarterRefusal {
  None,
  NotShiftJis,    // the file is UTF-8 or UTF-16: Shift-JIS lines would make it a mix
  CutShort,       // it ends inside a record: the words after it would be read out of place
  EndOfFileMark,  // it holds an end-of-file mark (Ctrl+Z): the words after it would be read out of place
  TooManyWords,   // with the starter words it would hold more than its table takes
};

// What --add-starter-words did to one file of the vocabulary folder.
struct StarterWordsAdded {
  std::string fileName;
  std::string path;
  // Lines of the starter file (0: it has nothing to add to any file).
  size_t starterLines = 0;
  bool created = false;
  // The lines appended (program text), in the starter file's order.
  std::vector<std::string> lines{};
  StarterRefusal refusal = StarterRefusal::None;
};

// Appends to G10A.TXT and D12A.TXT of the vocabulary folder the starter
// lines whose word (G10A.TXT) or name (D12A.TXT) the file does not hold yet;
// creates a missing file that gets lines. Every byte of the file stays as it
// was, in front of the new lines; the new file takes the name in one step (a
// link there is replaced, not written through). A file that cannot take the
// lines in their place is left as it is, with the refusal. Throws FileError.
std::vector<StarterWordsAdded> AddStarterWords(const std::string& vocabularyFolder);

}  // namespace k2v
