#pragma once
// Picks the main soil name, the quality word (質) and the admixture word (混)
// out of the one or two components of a layer's soil description.

#include <array>
#include <string>
#include <string_view>

#include "soil/soil_codes.hpp"
#include "soil/soil_word_tables.hpp"

namespace k2v {

// The words found in one component; two spaces for a word that was not found.
struct SoilNameWords {
  std::string quality = "  ";
  std::string admixture = "  ";
  std::string mainName = "  ";
  // What the main soil name was looked for in: the component with its
  // admixture and quality words taken off (empty when nothing was left).
  std::string lookedUp;
};

// Parses components 1 to parts.count (a component beyond the count keeps two
// spaces). The admixture word reported is the table's, held up to its "混"
// (砂混り is found and reported as 砂混).
std::array<SoilNameWords, 2> ParseSoilName(const SoilWordTables& tables, const LayerParts& parts);

// The word of the longest soil name table entry that occurs in text, the
// first in entry order among equally long ones; two spaces when none occurs.
std::string LongestSoilName(const SoilWordTables& tables, std::string_view text);

}  // namespace k2v
