#include <windows.h>

#include <algorithm>

#include "platform/subfolders.hpp"
#include "platform/wide_text.hpp"

namespace k2v {

namespace {

std::wstring Pattern(const std::string& folder) {
  std::wstring wide = Widen(folder);
  if (!wide.empty() && wide.back() != L'\\' && wide.back() != L'/') wide += L'\\';
  return wide + L"*";
}

}  // namespace

bool FolderCanBeOpened(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(Pattern(path).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  FindClose(find);
  return true;
}

std::vector<std::string> ListSubfolders(const std::string& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(Pattern(folder).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return {};
  do {
    const std::wstring name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) continue;
    if (name == L"." || name == L"..") continue;
    names.push_back(name);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  std::stable_sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
  });
  std::vector<std::string> texts;
  for (const std::wstring& name : names) texts.push_back(Narrow(name));
  return texts;
}

}  // namespace k2v
