// The system calls of the walks on Windows: a folder is listed when it is
// opened. Reparse points (links, junctions, folders that mount another
// volume) are listed as no folders, so a walk does not enter them.

#include <windows.h>

#include <algorithm>
#include <optional>
#include <thread>

#include "platform/file_system.hpp"
#include "platform/files.hpp"
#include "platform/folder_walk.hpp"
#include "platform/open_folder.hpp"
#include "platform/wide_text.hpp"

namespace k2v {

struct OpenFolder::System {
  std::vector<FolderEntry> entries;
  // The volume that holds the folder ("C:\"), looked up when first asked.
  mutable std::optional<std::wstring> volume;
};

namespace {

// A failure a walk passes over: the folder is gone, is no folder, or may not
// be read.
bool PassedOver(DWORD err) {
  return err == ERROR_PATH_NOT_FOUND || err == ERROR_FILE_NOT_FOUND || err == ERROR_DIRECTORY ||
         err == ERROR_ACCESS_DENIED || err == ERROR_CANT_ACCESS_FILE;
}

void NoteFailure(std::string& failure, DWORD err) {
  if (!PassedOver(err) && failure.empty()) failure = WindowsReason(err);
}

// The entries of a folder, without "." and ".."; null when it cannot be
// listed, with the reason noted in failure.
std::unique_ptr<OpenFolder::System> List(const std::string& folder, std::string& failure) {
  auto system = std::make_unique<OpenFolder::System>();
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileExW(SystemPath(JoinPath(folder, "*")).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                              nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD err = GetLastError();
    if (err == ERROR_FILE_NOT_FOUND) return system;
    NoteFailure(failure, err);
    return nullptr;
  }
  do {
    const std::wstring n = found.cFileName;
    if (n == L"." || n == L"..") continue;
    const DWORD attributes = found.dwFileAttributes;
    system->entries.push_back(FolderEntry{Narrow(n), (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                                                         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)});
  } while (FindNextFileW(h, &found));
  const DWORD err = GetLastError();
  FindClose(h);
  if (err != ERROR_NO_MORE_FILES) NoteFailure(failure, err);
  return system;
}

const std::wstring& VolumeOf(const std::string& path, const OpenFolder::System& system) {
  if (!system.volume) {
    const std::wstring longPath = SystemPath(path);
    std::wstring volume(longPath.size() + 1, L'\0');
    system.volume = GetVolumePathNameW(longPath.c_str(), volume.data(), static_cast<DWORD>(volume.size()))
                        ? std::wstring(volume.c_str())
                        : std::wstring();
  }
  return *system.volume;
}

}  // namespace

// A link at the path itself is followed: the listing cannot do otherwise.
OpenFolder::OpenFolder(const std::string& path, bool) : path_(path), system_(List(path, failure_)) {}

OpenFolder::OpenFolder(const OpenFolder& parent, const std::string& name)
    : path_(JoinPath(parent.path_, name)), system_(List(path_, failure_)) {}

OpenFolder::~OpenFolder() = default;
OpenFolder::OpenFolder(OpenFolder&&) noexcept = default;
OpenFolder& OpenFolder::operator=(OpenFolder&&) noexcept = default;

bool OpenFolder::IsOpen() const { return system_ != nullptr; }

std::vector<FolderEntry> OpenFolder::Entries() const { return system_ ? system_->entries : std::vector<FolderEntry>{}; }

std::int64_t OpenFolder::FileSize(const std::string& name) const {
  std::uint64_t size = 0;
  // A size that cannot be read is -1, as a missing file's.
  std::error_code ignored;
  if (!system_ || !files_system::SizeOf(JoinPath(path_, name), size, ignored)) return -1;
  return static_cast<std::int64_t>(size);
}

bool OpenFolder::OnSameVolume(const OpenFolder& other) const {
  return system_ && other.system_ && VolumeOf(path_, *system_) == VolumeOf(other.path_, *other.system_);
}

// The listing holds nothing of the system's.
void OpenFolder::Release() {}

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
