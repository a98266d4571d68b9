// The held folder on Windows: a handle to the folder opened without
// FILE_SHARE_DELETE, so that no one renames or removes it (or a folder above
// it) while it is held, and a path under it therefore reaches this folder.
// Names are plain (no separator, no stream), a reparse point is opened as
// itself (FILE_FLAG_OPEN_REPARSE_POINT) and moved or deleted as itself, and
// one in place of a folder or a file that is read is refused.

#include <windows.h>

#include <algorithm>

#include "platform/files.hpp"
#include "platform/held_folder.hpp"
#include "platform/wide_text.hpp"

namespace k2v {

struct HeldFolder::System {
  HANDLE h = INVALID_HANDLE_VALUE;
  ~System() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

namespace {

[[noreturn]] void Throw(const std::string& path, DWORD err) { throw FileError(path, WindowsReason(err)); }

struct HandleCloser {
  HANDLE h;
  ~HandleCloser() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

// Opens the folder at path; a reparse point there is opened as itself when
// noFollow, and then refused.
std::unique_ptr<HeldFolder::System> OpenFolderHandle(const std::string& path, bool noFollow) {
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (noFollow ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
  HANDLE h = CreateFileW(SystemPath(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) Throw(path, GetLastError());
  auto system = std::make_unique<HeldFolder::System>();
  system->h = h;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) Throw(path, GetLastError());
  if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) Throw(path, ERROR_DIRECTORY);
  if (noFollow && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) Throw(path, ERROR_CANT_ACCESS_FILE);
  return system;
}

void CheckName(const std::string& path, const std::string& name) {
  if (!IsPlainName(name)) Throw(path, ERROR_INVALID_NAME);
}

bool IsMissing(DWORD err) { return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND; }

}  // namespace

HeldFolder::HeldFolder(const std::string& path)
    : path_(WithoutFinalSeparator(path)), system_(OpenFolderHandle(path_, false)) {}

HeldFolder::HeldFolder(std::string path, std::unique_ptr<System> system)
    : path_(std::move(path)), system_(std::move(system)) {}

HeldFolder::~HeldFolder() = default;
HeldFolder::HeldFolder(HeldFolder&&) noexcept = default;
HeldFolder& HeldFolder::operator=(HeldFolder&&) noexcept = default;

HeldFolder HeldFolder::Sub(const std::string& name) const {
  const std::string path = PathOf(name);
  CheckName(path, name);
  return HeldFolder(path, OpenFolderHandle(path, true));
}

HeldFolder::Kind HeldFolder::KindOf(const std::string& name) const {
  const std::string path = PathOf(name);
  CheckName(path, name);
  // The attributes of the entry itself: a reparse point is not followed.
  const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD err = GetLastError();
    if (IsMissing(err)) return Kind::None;
    Throw(path, err);
  }
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Kind::Link;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Kind::Folder;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return Kind::Other;
  return Kind::File;
}

std::vector<std::string> HeldFolder::Names() const {
  CheckFault(FileOperation::List, path_);
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileExW(SystemPath(PathOf("*")).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) Throw(path_, GetLastError());
  do {
    const std::wstring n = found.cFileName;
    if (n != L"." && n != L"..") names.push_back(Narrow(n));
  } while (FindNextFileW(h, &found));
  const DWORD err = GetLastError();
  FindClose(h);
  if (err != ERROR_NO_MORE_FILES) Throw(path_, err);
  std::sort(names.begin(), names.end());
  return names;
}

std::string HeldFolder::ReadFile(const std::string& name) const {
  const std::string path = PathOf(name);
  CheckName(path, name);
  HandleCloser file{CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr)};
  if (file.h == INVALID_HANDLE_VALUE) Throw(path, GetLastError());
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file.h, &info)) Throw(path, GetLastError());
  if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) {
    Throw(path, ERROR_CANT_ACCESS_FILE);
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.h, buffer, sizeof buffer, &got, nullptr)) Throw(path, GetLastError());
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  return bytes;
}

void HeldFolder::WriteNewFile(const std::string& name, const std::string& bytes) const {
  const std::string path = PathOf(name);
  CheckName(path, name);
  CheckFault(FileOperation::Create, path);
  // CREATE_NEW fails on anything under the name, a reparse point too.
  HandleCloser file{CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)};
  if (file.h == INVALID_HANDLE_VALUE) Throw(path, GetLastError());
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    DWORD put = 0;
    if (!WriteFile(file.h, bytes.data() + done, chunk, &put, nullptr) || put == 0) Throw(path, GetLastError());
    done += put;
  }
}

void HeldFolder::Move(const std::string& name, const HeldFolder& to, const std::string& toName) const {
  const std::string target = to.PathOf(toName);
  CheckName(target, name);
  CheckName(target, toName);
  // PlaceFile moves a reparse point as itself and replaces one at the target.
  PlaceFile(PathOf(name), target);
}

void HeldFolder::Delete(const std::string& name) const {
  const std::string path = PathOf(name);
  CheckName(path, name);
  CheckFault(FileOperation::Delete, path);
  const std::wstring wide = SystemPath(path);
  // An earlier output the user made read-only is deleted like any other.
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD err = GetLastError();
    if (IsMissing(err)) return;
    Throw(path, err);
  }
  if ((attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    SetFileAttributesW(wide.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
  // A reparse point that stands for a folder is removed as a folder, itself.
  const BOOL done = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryW(wide.c_str())
                                                            : DeleteFileW(wide.c_str());
  if (!done && !IsMissing(GetLastError())) Throw(path, GetLastError());
}

void HeldFolder::CreateFolder(const std::string& name) const {
  const std::string path = PathOf(name);
  CheckName(path, name);
  CheckFault(FileOperation::CreateFolder, path);
  if (!CreateDirectoryW(SystemPath(path).c_str(), nullptr)) Throw(path, GetLastError());
}

void HeldFolder::RemoveEmptyFolder(const std::string& name) const {
  const std::string path = PathOf(name);
  CheckFault(FileOperation::Delete, path);
  if (!RemoveDirectoryW(SystemPath(path).c_str()) && !IsMissing(GetLastError())) Throw(path, GetLastError());
}

void HeldFolder::Sync() const {
  CheckFault(FileOperation::Sync, path_);
  // The folder's entries flushed as a file's data: a handle with write access
  // to the folder. A file system that cannot flush a folder is no failure.
  HandleCloser folder{CreateFileW(SystemPath(path_).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)};
  if (folder.h == INVALID_HANDLE_VALUE || !FlushFileBuffers(folder.h)) {
    const DWORD err = GetLastError();
    if (err == ERROR_INVALID_FUNCTION || err == ERROR_ACCESS_DENIED || err == ERROR_INVALID_PARAMETER ||
        err == ERROR_NOT_SUPPORTED) {
      return;
    }
    Throw(path_, err);
  }
}

}  // namespace k2v
