#include <windows.h>

#include "platform/subfolders.hpp"
#include "platform/wide_text.hpp"

namespace k2v {

namespace {

std::wstring Pattern(const std::string& folder) {
  std::wstring wide = SystemPath(folder);
  if (!wide.empty() && wide.back() != L'\\') wide += L'\\';
  return wide + L"*";
}

}  // namespace

bool FolderCanBeOpened(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(Pattern(path).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  FindClose(find);
  return true;
}

std::vector<ListedEntry> ReadListedEntries(const std::string& folder) {
  std::vector<ListedEntry> entries;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(Pattern(folder).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back(ListedEntry{Narrow(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                  (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0});
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return entries;
}

// Windows' own order of names ignoring case.
bool NameBeforeIgnoringCase(const std::string& a, const std::string& b) {
  return CompareStringOrdinal(Widen(a).c_str(), -1, Widen(b).c_str(), -1, TRUE) == CSTR_LESS_THAN;
}

}  // namespace k2v
