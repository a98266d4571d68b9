// The file operations that need Windows' own calls. Every name goes to the
// system as UTF-16.

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/file_system.hpp"
#include "platform/files.hpp"
#include "platform/system_folders.hpp"
#include "platform/wide_text.hpp"
#include "text/message_text.hpp"

namespace fs = std::filesystem;

namespace k2v {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

struct HandleCloser {
  HANDLE h;
  ~HandleCloser() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

// The volume and file index of an existing entry (a folder too).
bool Identity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  HandleCloser file{CreateFileW(Widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
  return file.h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file.h, &info);
}

void DropReadOnly(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
}

}  // namespace

// The C runtime's messages are English whatever the user's language.
std::string SystemReason(int err) { return std::strerror(err); }

fs::path NativePath(const std::string& path) { return fs::path(Widen(path)); }
std::string PathText(const fs::path& path) { return Narrow(path.native()); }
std::FILE* OpenFile(const std::string& path, const char* mode) {
  return _wfopen(Widen(path).c_str(), Widen(mode).c_str());
}

namespace files_system {

std::string Reason(const std::error_code& ec) {
  if (ec.category() == std::system_category()) return WindowsReason(static_cast<unsigned long>(ec.value()));
  if (ec.category() == std::generic_category()) return SystemReason(ec.value());
  return ec.message();
}

std::string SpellingOnDisk(const std::string& path) {
  if (path.empty() || IsSeparator(path.back()) || path.find_first_of("*?") != std::string::npos) return path;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileExW(Widen(path).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) return path;
  FindClose(h);
  return FolderPart(path) + Narrow(found.cFileName);
}

bool SameEntry(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION x, y;
  return Identity(a, x) && Identity(b, y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
         x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

void CopyFileOver(const std::string& from, const std::string& to, std::error_code& ec) {
  ec.clear();
  const std::wstring target = Widen(to);
  // A read-only earlier copy is replaced like any other file, and the copy
  // of a read-only source must stay deletable for the later stages.
  DropReadOnly(target);
  if (!CopyFileW(Widen(from).c_str(), target.c_str(), FALSE)) {
    ec = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    return;
  }
  DropReadOnly(target);
}

std::FILE* OpenNewFile(const std::string& path) {
  // CREATE_NEW fails on anything under the name, a reparse point too.
  HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD err = GetLastError();
    if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) return nullptr;
    throw FileError(path, WindowsReason(err));
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(h);
    throw FileError(path, SystemReason(errno));
  }
  std::FILE* f = _fdopen(fd, "wb");
  if (!f) {
    const int err = errno;
    _close(fd);
    throw FileError(path, SystemReason(err));
  }
  return f;
}

}  // namespace files_system

void SyncFile(const std::string& path) {
  CheckFault(FileOperation::Sync, path);
  HandleCloser file{CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.h == INVALID_HANDLE_VALUE || !FlushFileBuffers(file.h)) throw FileError(path, WindowsReason(GetLastError()));
}

void SyncFiles(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) SyncFile(path);
}

void PlaceFile(const std::string& from, const std::string& to) {
  CheckFault(FileOperation::Rename, to);
  const std::wstring target = Widen(to);
  if (!MoveFileExW(Widen(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw FileError(to, WindowsReason(GetLastError()));
  }
  // A replaced file keeps the spelling of its earlier name; the file takes
  // the one asked for.
  const std::string spelling = files_system::SpellingOnDisk(to);
  if (spelling != to && !MoveFileExW(Widen(spelling).c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
    throw FileError(to, WindowsReason(GetLastError()));
  }
}

// Windows has no file-size signal.
void IgnoreFileSizeSignal() {}

bool SameFolder(const std::string& a, const std::string& b) {
  const std::string x = WithoutFinalSeparator(a);
  const std::string y = WithoutFinalSeparator(b);
  std::error_code ec;
  return fs::is_directory(NativePath(x), ec) && fs::is_directory(NativePath(y), ec) && files_system::SameEntry(x, y);
}

std::string ProgramFolder() {
  std::wstring buffer(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (n == 0 || n >= buffer.size()) return {};
  buffer.resize(n);
  return WithoutFinalSeparator(FolderPart(Narrow(buffer)));
}

std::string UserConfigFolder() {
  const wchar_t* appData = _wgetenv(L"APPDATA");
  if (appData && *appData) return Narrow(appData) + "\\kolbrix2vantor";
  return {};
}

std::string SystemSettingsFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const UINT n = GetSystemDirectoryW(buffer, MAX_PATH + 1);
  if (n == 0 || n > MAX_PATH) return "C:\\Windows\\System32";
  return Narrow(std::wstring(buffer, n));
}

std::string EnvironmentText(const char* name) {
  const wchar_t* value = _wgetenv(Widen(name).c_str());
  return value ? Narrow(value) : "";
}

std::string EnvironmentNotation(const std::string& name) { return "%" + name + "%"; }
std::string UserConfigFolderNotation() { return "%APPDATA%\\kolbrix2vantor"; }
std::string SystemSettingsFolderNotation() { return N_("the Windows system directory"); }

std::string UserInterfaceLanguage() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH];
  const int n = LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0);
  return n > 1 ? Narrow(std::wstring(name, static_cast<size_t>(n - 1))) : std::string();
}

}  // namespace k2v
