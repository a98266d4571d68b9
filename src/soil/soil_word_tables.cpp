#include "soil/soil_word_tables.hpp"

namespace k2v {

void BuildSoilWordTables(SoilWordTables& tables, const std::string& vocabularyPath) {
  (void)vocabularyPath;
  tables = SoilWordTables{};
}

}  // namespace k2v
