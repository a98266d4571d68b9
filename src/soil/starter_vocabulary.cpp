#include "soil/starter_vocabulary.hpp"

#include <string>

#include "soil/soil_codes.hpp"
#include "soil/soil_name_parser.hpp"

namespace k2v {

namespace {

// The built-in words with the starter words after them, built once.
const SoilWordTables& StarterTables() {
  static const SoilWordTables tables = [] {
    SoilWordTables built;
    BuildSoilWordTablesFromBytes(built, std::string(StarterG10A_TXT()), std::string(StarterD12A_TXT()));
    return built;
  }();
  return tables;
}

}  // namespace

std::optional<SoilWord> StarterWordIn(std::string_view text) {
  const SoilWordTables& tables = StarterTables();
  const int entry = LookupSoilWord(tables, SoilTable::SoilName, LongestSoilName(tables, text));
  if (entry <= kBuiltInSoilNameCount) return std::nullopt;
  return tables.SoilNameTable[static_cast<size_t>(entry - 1)];
}

}  // namespace k2v
