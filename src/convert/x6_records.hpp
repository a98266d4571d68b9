#pragma once
// The item lists the X6 records are flagged against: L9.txt and L22.txt of
// Vantor's pattern-data folder, 15 names each.

#include <array>
#include <string>
#include <vector>

namespace k2v {

constexpr int kX6ListSize = 15;

struct X6ItemLists {
  // Vantor's pattern-data folder, ending in a separator; names are appended
  // directly.
  std::string RadudiSettingPath;
  std::array<std::string, kX6ListSize> L9Names;
  std::array<std::string, kX6ListSize> L22Names;
  // Entry b is true when L22Names entry b, trimmed, is no trimmed L9Names entry.
  std::array<bool, kX6ListSize> L22OnlyFlags{};
};

// Reads Radudi32.ini of the first of systemDirs that holds one, and both
// lists. When they cannot be used (no settings file in any of the folders,
// which the warning names, no folder named in it, a list missing, unreadable
// or shorter than 15 records) returns false with the user's warning text in
// problem.
bool LoadX6ItemLists(const std::vector<std::string>& systemDirs, X6ItemLists& lists, std::string& problem);

}  // namespace k2v
