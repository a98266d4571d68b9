#pragma once
// kolbrix2vantor --vocabulary [--add-starter-words] DESTINATION
//
// Tells, without converting, which vocabulary folder a conversion into
// DESTINATION reads, what its G10A.TXT and D12A.TXT hold and every line
// that adds nothing; with --add-starter-words it first adds the starter
// words there. Exit status: 0 looked, 1 refused (a path the run refuses, no
// vocabulary folder to add to, a file that cannot take the words), 2 wrong
// usage, 3 a file could not be read or written.

#include <iosfwd>
#include <string>
#include <vector>

#include "soil/soil_word_tables.hpp"

namespace k2v {

// True when the arguments ask for the vocabulary check.
bool IsVocabularyCommand(const std::vector<std::string>& args);

// Runs it with the arguments after the program's name; returns the exit
// status.
int RunVocabularyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// What a vocabulary file held, in the user's language: "259 words",
// "1 name", "not found".
std::string VocabularyFileSummary(const ExtensionFileRead& file, const std::string& fileName);

}  // namespace k2v
