// The file operations that need Windows' own calls. Every path goes to the
// system in its long form (SystemPath), never through the C runtime's or
// std::filesystem's path handling, which is held to 260 characters: there a
// folder listing past that length lists another folder.

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
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
  HandleCloser file{CreateFileW(SystemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
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
  return _wfopen(SystemPath(path).c_str(), Widen(mode).c_str());
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
  HANDLE h = FindFirstFileExW(SystemPath(path).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
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
  const std::wstring target = SystemPath(to);
  // A read-only earlier copy is replaced like any other file, and the copy
  // of a read-only source must stay deletable for the later stages.
  DropReadOnly(target);
  if (!CopyFileW(SystemPath(from).c_str(), target.c_str(), FALSE)) {
    ec = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    return;
  }
  DropReadOnly(target);
}

std::FILE* OpenNewFile(const std::string& path) {
  // CREATE_NEW fails on anything under the name, a reparse point too.
  HANDLE h = CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
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

namespace {

std::error_code LastError() { return std::error_code(static_cast<int>(GetLastError()), std::system_category()); }

// The last error, with "not there" in the portable form that the callers
// tell apart from every other failure.
std::error_code LookUpError() {
  const DWORD err = GetLastError();
  if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) {
    return std::make_error_code(std::errc::no_such_file_or_directory);
  }
  if (err == ERROR_DIRECTORY) return std::make_error_code(std::errc::not_a_directory);
  return std::error_code(static_cast<int>(err), std::system_category());
}

EntryType TypeOfAttributes(DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return EntryType::Other;
  return attributes & FILE_ATTRIBUTE_DIRECTORY ? EntryType::Folder : EntryType::File;
}

}  // namespace

EntryType TypeOf(const std::string& path, bool followLink, std::error_code& ec) {
  ec.clear();
  const std::wstring system = SystemPath(path);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(system.c_str(), GetFileExInfoStandard, &data)) {
    ec = LookUpError();
    return EntryType::None;
  }
  if (!followLink || !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return TypeOfAttributes(data.dwFileAttributes);
  }
  // Where a link leads: the entry that opening it reaches.
  HandleCloser target{CreateFileW(system.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
  BY_HANDLE_FILE_INFORMATION info;
  if (target.h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(target.h, &info)) {
    ec = LookUpError();
    return EntryType::None;
  }
  return info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? EntryType::Folder : EntryType::File;
}

bool SizeOf(const std::string& path, std::uint64_t& size, std::error_code& ec) {
  ec.clear();
  HandleCloser file{CreateFileW(SystemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
  BY_HANDLE_FILE_INFORMATION info;
  if (file.h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file.h, &info)) {
    ec = LookUpError();
    return false;
  }
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return true;
}

std::error_code ListFolder(const std::string& folder,
                           const std::function<void(const std::string& name, EntryType type)>& each) {
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileExW(SystemPath(JoinPath(folder, "*")).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                              nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) {
    // An empty folder (a drive's root has not even "." and "..").
    const bool noEntry = GetLastError() == ERROR_FILE_NOT_FOUND;
    const std::error_code failed = LookUpError();
    std::error_code typeError;
    if (noEntry && TypeOf(folder, true, typeError) == EntryType::Folder) return {};
    return failed;
  }
  std::error_code ec;
  try {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") each(Narrow(name), TypeOfAttributes(found.dwFileAttributes));
    } while (FindNextFileW(h, &found));
  } catch (...) {
    FindClose(h);
    throw;
  }
  if (GetLastError() != ERROR_NO_MORE_FILES) ec = LastError();
  FindClose(h);
  return ec;
}

std::error_code RemoveEntry(const std::string& path) {
  const std::wstring system = SystemPath(path);
  const DWORD attributes = GetFileAttributesW(system.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
  // A link to a folder is removed as a folder, without what it leads to.
  const BOOL removed = attributes & FILE_ATTRIBUTE_DIRECTORY ? RemoveDirectoryW(system.c_str())
                                                             : DeleteFileW(system.c_str());
  return removed ? std::error_code() : LastError();
}

std::error_code MoveEntry(const std::string& from, const std::string& to) {
  if (MoveFileExW(SystemPath(from).c_str(), SystemPath(to).c_str(), MOVEFILE_REPLACE_EXISTING)) return {};
  return LastError();
}

std::error_code MakeFolder(const std::string& path) {
  if (CreateDirectoryW(SystemPath(path).c_str(), nullptr)) return {};
  const std::error_code ec = LastError();
  std::error_code typeError;
  if (ec.value() == ERROR_ALREADY_EXISTS && TypeOf(path, true, typeError) == EntryType::Folder) return {};
  return ec;
}

}  // namespace files_system

void SyncFile(const std::string& path) {
  CheckFault(FileOperation::Sync, path);
  HandleCloser file{CreateFileW(SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.h == INVALID_HANDLE_VALUE || !FlushFileBuffers(file.h)) throw FileError(path, WindowsReason(GetLastError()));
}

void SyncFiles(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) SyncFile(path);
}

void PlaceFile(const std::string& from, const std::string& to) {
  CheckFault(FileOperation::Rename, to);
  const std::wstring target = SystemPath(to);
  if (!MoveFileExW(SystemPath(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw FileError(to, WindowsReason(GetLastError()));
  }
  // A replaced file keeps the spelling of its earlier name; the file takes
  // the one asked for.
  const std::string spelling = files_system::SpellingOnDisk(to);
  if (spelling != to && !MoveFileExW(SystemPath(spelling).c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
    throw FileError(to, WindowsReason(GetLastError()));
  }
}

// The limits of a path in its long form, and of one name, in UTF-16 units.
constexpr size_t kLongPathLimit = 32767;
constexpr size_t kNameLimit = 255;

void CheckPathLength(const std::string& path, std::size_t room) {
  const std::wstring system = SystemPath(path);
  bool fits = system.size() + room < kLongPathLimit;
  for (size_t start = 0; fits && start < system.size();) {
    const size_t end = std::min(system.find(L'\\', start), system.size());
    fits = end - start <= kNameLimit;
    start = end + 1;
  }
  if (!fits) throw FileError(path, WindowsReason(ERROR_FILENAME_EXCED_RANGE));
}

// Windows has no file-size signal.
void IgnoreFileSizeSignal() {}

bool SameFolder(const std::string& a, const std::string& b) {
  const std::string x = WithoutFinalSeparator(a);
  const std::string y = WithoutFinalSeparator(b);
  return FolderExists(x) && FolderExists(y) && files_system::SameEntry(x, y);
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
