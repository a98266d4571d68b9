#pragma once
// The starter vocabulary shipped with the program: G10A.TXT with the soil and
// rock names of real boring logs, each with the code its rule gives it, and
// D12A.TXT (no names: no rule gives a stratum its code). The files of the
// tree's vocabulary/ folder, built in byte for byte (Shift-JIS, CR LF). A
// conversion reads them only once the engineer puts them in a vocabulary
// folder.

#include <optional>
#include <string_view>

#include "soil/soil_word_tables.hpp"

namespace k2v {

std::string_view StarterG10A_TXT();
std::string_view StarterD12A_TXT();

// The starter entry whose word is the longest that occurs in text (the first
// in file order among equally long ones), as the main-name search would find
// it once the starter words are in G10A.TXT; none when no starter word occurs.
std::optional<SoilWord> StarterWordIn(std::string_view text);

}  // namespace k2v
