#include "cli/path_arguments.hpp"

#include <filesystem>
#include <system_error>

#include "platform/files.hpp"
#include "run/paths.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

std::string PathArgument(const std::string& raw) {
  const std::string text = Trim(raw);
  if (text.empty()) return text;
  std::filesystem::path p = NativePath(text);
  if (p.is_relative()) {
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    if (!ec) p = here / p;
  }
  return Trim(TypedPathText(PathText(p)));
}

std::string FolderArgument(const std::string& raw) {
  std::string folder = PathArgument(raw);
  const char separator = NativePathRules().Separator();
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == separator) &&
         !(folder.size() == 3 && folder[1] == ':')) {
    folder.pop_back();
  }
  return folder;
}

}  // namespace k2v
