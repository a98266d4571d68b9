#include "cli/path_arguments.hpp"

#include <algorithm>
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

std::string FolderArgument(const std::string& raw) { return WithoutFinalSeparator(PathArgument(raw)); }

std::string MissingLevelsWarning(const std::string& destination) {
  const char sep = NativePathRules().Separator();
  size_t levels = 1;
  for (size_t at = destination.find(sep); at != std::string::npos && at + 1 < destination.size();
       at = destination.find(sep, at + 1)) {
    ++levels;
  }
  if (levels >= 5) return {};
  std::string missing, lines;
  for (size_t level = std::max<size_t>(levels + 1, 3); level <= 5; ++level) {
    const std::string joint = missing.empty() ? "" : level == 5 ? " and " : ", ";
    missing += joint + std::to_string(level);
    lines += joint + std::to_string(level - 2);
  }
  const bool one = missing.size() == 1;
  const std::string layout = sep == '/' ? "/GANBAN/K001/S01/B02" : "C:\\GANBAN\\K001\\S01\\B02";
  return "kolbrix2vantor: warning: " + destination + " lacks level" + (one ? " " : "s ") + missing +
         " of Vantor's layout " + layout + ": line" + (one ? " " : "s ") + lines + " of CNT.TXT " +
         (one ? "is" : "are") + " empty";
}

}  // namespace k2v
