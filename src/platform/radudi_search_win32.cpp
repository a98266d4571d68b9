// The RADUDI search on Windows: the same walk as on Linux, through the
// Windows folder listing. Reparse points (links, junctions, folders that
// mount another volume) are not entered, and the walk stays on the volume it
// starts on.

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

#include "platform/files.hpp"
#include "platform/radudi_search.hpp"
#include "platform/volumes.hpp"
#include "platform/wide_text.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string Join(const std::string& folder, const std::string& name) {
  return !folder.empty() && IsSeparator(folder.back()) ? folder + name : folder + "\\" + name;
}

// A folder path without its final separator, a drive's root ("C:\") kept whole.
std::string FolderPath(std::string folder) {
  while (folder.size() > 1 && IsSeparator(folder.back()) && !(folder.size() == 3 && folder[1] == ':')) {
    folder.pop_back();
  }
  return folder;
}

struct Entry {
  std::string name;
  bool folder;
  bool reparsePoint;
};

// The entries of a folder, without "." and ".."; false when it cannot be listed.
bool ListFolder(const std::string& folder, std::vector<Entry>& entries) {
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileExW(Widen(Join(folder, "*")).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                              nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const std::wstring n = found.cFileName;
    if (n == L"." || n == L"..") continue;
    entries.push_back(Entry{Narrow(n), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                            (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return true;
}

// The volume that holds the path ("C:\"), or empty.
std::wstring VolumeOf(const std::string& path) {
  wchar_t volume[MAX_PATH + 1];
  if (!GetVolumePathNameW(Widen(path).c_str(), volume, MAX_PATH + 1)) return {};
  return volume;
}

// True when the folder holds a non-empty file named fileName (in any case).
bool Qualifies(const std::string& folder, const std::string& fileName) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Widen(Join(folder, fileName)).c_str(), GetFileExInfoStandard, &data)) return false;
  return !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.nFileSizeHigh != 0 || data.nFileSizeLow != 0);
}

struct Level {
  std::string path;
  std::vector<std::string> subfolders;
  size_t next = 0;
};

}  // namespace

std::string FolderPart(const std::string& path) {
  size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool SearchRadudiTree(const std::string& path, std::vector<std::string>& candidates, const std::string& suffix,
                      const SearchProgress& progress) {
  const std::string parent = FolderPart(path);
  const std::string name = path.substr(parent.size());
  const std::string fileName = !suffix.empty() && IsSeparator(suffix[0]) ? suffix.substr(1) : suffix;
  if (parent.empty() || name.empty()) return true;
  const std::string startPath = FolderPath(parent);
  const std::wstring volume = VolumeOf(startPath);

  std::vector<Level> levels;
  // Visits one folder: reports it, tests its folders named like name, and
  // keeps its subfolders for the walk.
  auto visit = [&](std::string folderPath, std::vector<Entry>& entries) -> bool {
    if (progress && !progress(folderPath)) return false;
    Level level;
    for (const Entry& e : entries) {
      if (e.folder && !e.reparsePoint) level.subfolders.push_back(e.name);
    }
    std::sort(level.subfolders.begin(), level.subfolders.end());
    for (const std::string& sub : level.subfolders) {
      if (SameNameIgnoringCase(sub, name) && Qualifies(Join(folderPath, sub), fileName)) {
        candidates.push_back(Join(folderPath, sub) + "\\");
      }
    }
    if (level.subfolders.empty()) return true;
    level.path = std::move(folderPath);
    levels.push_back(std::move(level));
    return true;
  };

  std::vector<Entry> entries;
  if (!ListFolder(startPath, entries)) return true;
  if (!visit(startPath, entries)) return false;
  while (!levels.empty()) {
    Level& top = levels.back();
    if (top.next == top.subfolders.size()) {
      levels.pop_back();
      continue;
    }
    std::string childPath = Join(top.path, top.subfolders[top.next++]);
    if (VolumeOf(childPath) != volume) continue;  // another volume
    entries.clear();
    if (!ListFolder(childPath, entries)) continue;  // unreadable, or gone since it was listed
    if (!visit(std::move(childPath), entries)) return false;
  }
  return true;
}

std::string FindRadudiFolder(const std::string& programFolder, const std::vector<std::string>& volumeRoots,
                             const SearchProgress& progress) {
  const std::string sought = "RADUDI";
  const std::string suffix = "\\kishitu.txt";

  // Beside the program: the usual installation, found without any walk. A
  // link there is taken as the installer made it.
  std::vector<Entry> entries;
  if (ListFolder(programFolder, entries)) {
    std::vector<std::string> names;
    for (const Entry& e : entries) {
      if (e.folder && SameNameIgnoringCase(e.name, sought)) names.push_back(e.name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& sub : names) {
      if (Qualifies(Join(programFolder, sub), "kishitu.txt")) return Join(programFolder, sub) + "\\";
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
    return SearchRadudiTree(Join(root, sought), candidates, suffix, progress);
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

bool IsRadudiFolder(const std::string& folder) { return Qualifies(FolderPath(folder), "kishitu.txt"); }

std::string ProgramFolder() {
  std::wstring buffer(32768, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (n == 0 || n >= buffer.size()) return {};
  buffer.resize(n);
  return FolderPath(FolderPart(Narrow(buffer)));
}

}  // namespace k2v
