#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/subfolders.hpp"

namespace k2v {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

bool FolderCanBeOpened(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec) && access(path.c_str(), R_OK | X_OK) == 0;
}

std::vector<ListedEntry> ReadListedEntries(const std::string& folder) {
  std::vector<ListedEntry> entries;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    std::error_code typeEc;
    const bool isFolder = it->is_directory(typeEc);
    // Names that begin with "." are hidden.
    const bool hidden = name.empty() || name[0] == '.';
    entries.push_back(ListedEntry{std::move(name), isFolder, hidden});
  }
  return entries;
}

bool NameBeforeIgnoringCase(const std::string& a, const std::string& b) {
  const std::string la = Lower(a), lb = Lower(b);
  return la != lb ? la < lb : a < b;
}

}  // namespace k2v
