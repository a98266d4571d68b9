#include "cli/path_arguments.hpp"

#include <filesystem>
#include <system_error>

#include "cli/catalog.hpp"
#include "platform/files.hpp"
#include "platform/folder_walk.hpp"
#include "platform/volumes.hpp"
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

bool LandsInsideFolder(const std::string& path, const std::string& folder) {
  // The file's own name may be a link, which the file written replaces: its
  // folder is where it lands.
  const std::string parent = FolderPart(path);
  const std::string landing = ResolvedPath(parent.empty() ? std::string(".") : WithoutFinalSeparator(parent));
  return PathIsWithin(landing, ResolvedPath(folder));
}

std::string MissingLevelsWarning(const std::string& destination) {
  const char sep = NativePathRules().Separator();
  size_t levels = 1;
  for (size_t at = destination.find(sep); at != std::string::npos && at + 1 < destination.size();
       at = destination.find(sep, at + 1)) {
    ++levels;
  }
  if (levels >= 5) return {};
  const char* warning =
      levels == 4 ? _("warning: %1$s lacks level 5 of Vantor's layout %2$s: line 3 of CNT.TXT is empty")
      : levels == 3
          ? _("warning: %1$s lacks levels 4 and 5 of Vantor's layout %2$s: lines 2 and 3 of CNT.TXT are empty")
          : _("warning: %1$s lacks levels 3, 4 and 5 of Vantor's layout %2$s: lines 1, 2 and 3 of CNT.TXT are empty");
  const std::string layout = sep == '/' ? "/GANBAN/K001/S01/B02" : "C:\\GANBAN\\K001\\S01\\B02";
  return "kolbrix2vantor: " + FormatText(warning, {destination, layout});
}

}  // namespace k2v
