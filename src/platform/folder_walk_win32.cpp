// The walk over a site's export folders and the system queries of a batch,
// on Windows. Reparse points (links, junctions) are not entered.

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "platform/files.hpp"
#include "platform/folder_walk.hpp"
#include "platform/wide_text.hpp"

namespace k2v {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::vector<std::string> FindFoldersHolding(const std::string& root, const std::string& fileName) {
  std::vector<std::string> found;
  std::vector<std::string> pending{""};
  while (!pending.empty()) {
    const std::string relative = std::move(pending.back());
    pending.pop_back();
    const std::string path = relative.empty() ? root : JoinPath(root, relative);
    WIN32_FIND_DATAW entry;
    HANDLE h = FindFirstFileExW(Widen(JoinPath(path, "*")).c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE) continue;  // unreadable, or gone since it was listed
    std::vector<std::string> subfolders;
    std::string spelling;
    bool exact = false;
    do {
      const std::wstring wide = entry.cFileName;
      if (wide == L"." || wide == L"..") continue;
      const std::string n = Narrow(wide);
      const DWORD attributes = entry.dwFileAttributes;
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        // A hidden folder (a trash can, a tool's own folder) holds no boring to convert.
        if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && n[0] != '.') subfolders.push_back(n);
        continue;
      }
      if (fileName == n) exact = true;
      PreferSpelling(n, fileName, spelling);
    } while (FindNextFileW(h, &entry));
    FindClose(h);
    if (exact) spelling = fileName;
    if (!spelling.empty() && FileSize(JoinPath(path, spelling)) > 0) found.push_back(relative);
    std::sort(subfolders.begin(), subfolders.end(), std::greater<>());
    for (const std::string& sub : subfolders) pending.push_back(relative.empty() ? sub : relative + "/" + sub);
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::string ResolvedPath(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path p = fs::absolute(NativePath(path), ec);
  if (ec) p = NativePath(path);
  fs::path resolved = fs::weakly_canonical(p, ec);
  if (ec) resolved = p;
  std::string text = PathText(resolved.lexically_normal());
  while (text.size() > 1 && IsSeparator(text.back()) && !(text.size() == 3 && text[1] == ':')) text.pop_back();
  return text;
}

unsigned ProcessorCount() {
  DWORD_PTR process = 0, system = 0;
  if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) && process != 0) {
    unsigned n = 0;
    for (; process; process &= process - 1) ++n;
    return n;
  }
  return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace k2v
