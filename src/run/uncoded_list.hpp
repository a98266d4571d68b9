#pragma once
// The list of the soil names whose main soil name found no code, each with
// what gives it one: a line to add to G10A.TXT, or a description to write
// otherwise in Kolbrix. A spreadsheet file like the batch's report: UTF-8
// with a byte order mark, CR LF, a header and one row per name.

#include <string>
#include <vector>

#include "convert/conversion_context.hpp"

namespace k2v {

// The list's name in a batch's destination root, beside the report.
inline constexpr const char* kUncodedListName = "kolbrix2vantor-uncoded.csv";

// A text as one field of the program's CSV files: quoted, inner quotes
// doubled, line ends as " | " so that a row stays one line.
std::string CsvField(const std::string& text);

// What gives the name's layers a main soil code, in one sentence: the line
// to add to G10A.TXT (with its code when the starter vocabulary knows the
// word), or how to write the description in Kolbrix when no line of G10A.TXT
// can help (互層 without と and の, a main soil name cut at its 質).
std::string UncodedRemedy(const UncodedSoilName& name);

class UncodedList {
 public:
  // Adds the names of one converted boring.
  void Add(const std::string& boring, const std::vector<UncodedSoilName>& names);
  // The file: a row per name with the name as written, the part looked up,
  // the number of layers and of borings, the first three borings it stands
  // in (joined by " | ") and the remedy; the most layers first, names with
  // as many layers in the order they first occurred.
  std::string Csv() const;

 private:
  struct Row {
    UncodedSoilName name;
    long long boringCount = 0;
    std::vector<std::string> borings;
  };
  std::vector<Row> rows_;
};

// Writes the list of one run's names to path in one step (a new file that
// takes the name); boring names the export in the list. Throws FileError.
void WriteUncodedList(const std::string& path, const std::string& boring, const std::vector<UncodedSoilName>& names);

}  // namespace k2v
