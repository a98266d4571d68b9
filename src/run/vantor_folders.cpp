#include "run/vantor_folders.hpp"

#include <algorithm>

#include "convert/radudi_setting.hpp"
#include "platform/files.hpp"
#include "platform/system_folders.hpp"
#include "platform/volumes.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

constexpr const char* kSystemDirVariable = "KOLBRIX2VANTOR_SYSTEM_DIR";
constexpr const char* kRadudiName = "RADUDI";
constexpr const char* kRadudiMark = "kishitu.txt";
// The width a line of the help fits in.
constexpr size_t kHelpWidth = 80;

}  // namespace

std::vector<std::string> SysDirCandidates() {
  const std::string dir = EnvironmentText(kSystemDirVariable);
  if (!dir.empty()) return {dir};
  std::vector<std::string> dirs;
  if (const std::string config = UserConfigFolder(); !config.empty()) dirs.push_back(config);
  dirs.push_back(SystemSettingsFolder());
  return dirs;
}

std::string SysDirLookupHelp(Translation translate) {
  const std::string ini = kRadudiIniName;
  // TRANSLATORS: the steps of a numbered list; each ends as a list item does.
  const std::string config = FormatText(translate(N_("  3. %s,")), {translate(UserConfigFolderNotation().c_str())});
  const std::string condition = FormatText(translate(N_("when it holds %s;")), {ini});
  // A step too long for one line goes on under its text.
  const bool fits = config.size() + 1 + condition.size() < kHelpWidth;
  return FormatText(translate(N_("%s is read from the first of these folders:")), {ini}) + "\n" +
         translate(N_("  1. DIR of --system-dir;")) + "\n" +
         FormatText(translate(N_("  2. %s;")), {EnvironmentNotation(kSystemDirVariable)}) + "\n" + config +
         (fits ? " " : "\n     ") + condition + "\n" +
         FormatText(translate(N_("  4. %s.")), {translate(SystemSettingsFolderNotation().c_str())}) + "\n";
}

std::string FindRadudiFolder(const std::string& programFolder, const std::vector<std::string>& volumeRoots,
                             const SearchProgress& progress) {
  // Beside the program: the usual installation, found without any walk. A
  // program folder that cannot be read is passed over like every folder the
  // search cannot read.
  std::vector<std::string> beside;
  try {
    beside = ListFolderEntries(programFolder);
  } catch (const FileError&) {
  }
  for (const std::string& sub : beside) {
    const std::string folder = JoinPath(programFolder, sub);
    if (SameNameIgnoringCase(sub, kRadudiName) && IsRadudiFolder(folder)) {
      return JoinPath(folder, "");
    }
  }

  // The volume that holds the program: the longest root that contains it.
  int own = -1;
  for (size_t i = 0; i < volumeRoots.size(); ++i) {
    const std::string& root = volumeRoots[i];
    if (PathIsWithin(programFolder, root) && (own < 0 || root.size() > volumeRoots[static_cast<size_t>(own)].size())) {
      own = static_cast<int>(i);
    }
  }

  std::vector<std::string> candidates;
  auto walk = [&](const std::string& root) {
    return SearchFolderTree(JoinPath(root, kRadudiName), candidates, kRadudiMark, progress);
  };
  if (own >= 0) {
    if (!walk(volumeRoots[static_cast<size_t>(own)])) return {};
    if (!candidates.empty()) return candidates.front();
  }
  for (size_t i = 0; i < volumeRoots.size(); ++i) {
    if (static_cast<int>(i) == own) continue;
    if (!walk(volumeRoots[i])) return {};
    if (!candidates.empty()) return candidates.front();
  }
  return {};
}

bool IsRadudiFolder(const std::string& folder) { return FolderHoldsNonEmptyFile(folder, kRadudiMark); }

}  // namespace k2v
