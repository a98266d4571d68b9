#include <unistd.h>

#include <algorithm>
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

std::vector<std::string> ListSubfolders(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code typeEc;
    if (it->is_directory(typeEc)) names.push_back(std::move(name));
  }
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string la = Lower(a), lb = Lower(b);
    return la != lb ? la < lb : a < b;
  });
  return names;
}

}  // namespace k2v
