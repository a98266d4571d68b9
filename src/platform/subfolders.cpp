#include "platform/subfolders.hpp"

#include <algorithm>

namespace k2v {

std::vector<std::string> ListSubfolders(const std::string& folder) {
  std::vector<std::string> names;
  for (ListedEntry& e : ReadListedEntries(folder)) {
    if (e.folder && !e.hidden) names.push_back(std::move(e.name));
  }
  std::stable_sort(names.begin(), names.end(), NameBeforeIgnoringCase);
  return names;
}

}  // namespace k2v
