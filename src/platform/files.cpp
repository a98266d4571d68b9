#include "platform/files.hpp"

// The file operations that std::filesystem gives on every system; those that
// need the system's own calls are in file_system_posix.cpp and
// file_system_win32.cpp.

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>
#include <random>
#include <system_error>

#include "platform/file_system.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace fs = std::filesystem;

namespace k2v {

FileError::FileError(std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}

namespace {

using files_system::EntryType;
using files_system::Reason;
std::string Reason(int err) { return SystemReason(err); }

FaultHook& Hook() {
  static FaultHook hook;
  return hook;
}

}  // namespace

void SetFaultHook(FaultHook hook) { Hook() = std::move(hook); }

void CheckFault(FileOperation operation, const std::string& path) {
  if (!Hook()) return;
  // A run's steps may run side by side: the hook sees one change at a time.
  // A listing does not wait for that turn, so that a hook that holds one run
  // back at a change does not hold back another run's checks.
  static std::mutex oneAtATime;
  int err = 0;
  if (operation == FileOperation::List) {
    err = Hook()(operation, path);
  } else {
    std::lock_guard<std::mutex> lock(oneAtATime);
    err = Hook()(operation, path);
  }
  if (err) throw FileError(path, Reason(err));
}

void PreferSpelling(const std::string& candidate, const std::string& wanted, std::string& best) {
  if (SameNameIgnoringCase(candidate, wanted) && (best.empty() || candidate < best)) best = candidate;
}

namespace {

// A failure that means "not there": the entry, or a folder on its way, is
// missing (or a file stands where a folder was expected).
bool IsNotThere(const std::error_code& ec) {
  return ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
}

// Calls each for every entry of folder; false when the folder is not there.
// Any other failure, when the listing starts or on its way, throws FileError.
// A listing of the run's own asks the fault hook first.
bool ReadFolder(const std::string& folder, bool askHook,
                const std::function<void(const std::string& name, EntryType type)>& each) {
  if (askHook) CheckFault(FileOperation::List, folder);
  const std::error_code ec = files_system::ListFolder(folder, each);
  if (!ec) return true;
  if (IsNotThere(ec)) return false;
  throw FileError(folder, Reason(ec));
}

// The type of the entry itself (a link not followed), or of what it leads to;
// None when it is not there. Throws FileError on any other failure.
EntryType TypeOf(const std::string& path, bool followLink) {
  std::error_code ec;
  const EntryType type = files_system::TypeOf(path, followLink, ec);
  if (ec && !IsNotThere(ec)) throw FileError(path, Reason(ec));
  return type;
}

}  // namespace

std::string ResolveCase(const std::string& path) {
  if (TypeOf(path, false) != EntryType::None) return files_system::SpellingOnDisk(path);
  fs::path p = NativePath(path);
  fs::path parent = p.parent_path();
  const std::string wanted = PathText(p.filename());
  if (wanted.empty()) return path;
  std::string best;
  ReadFolder(parent.empty() ? "." : PathText(parent), false,
             [&](const std::string& name, EntryType) { PreferSpelling(name, wanted, best); });
  if (best.empty()) return path;
  return PathText(parent / NativePath(best));
}

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
bool IsSeparator(char c) { return c == '\\' || c == '/'; }
// A drive's root ("C:\\") keeps its separator.
bool IsRoot(const std::string& path) { return path.size() == 3 && path[1] == ':'; }
constexpr const char* kFolderPartEnds = "\\/:";
#else
constexpr char kSeparator = '/';
bool IsSeparator(char c) { return c == '/'; }
bool IsRoot(const std::string&) { return false; }
constexpr const char* kFolderPartEnds = "/";
#endif

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  const bool endsInSeparator = !folder.empty() && IsSeparator(folder.back());
  return endsInSeparator ? folder + name : folder + kSeparator + name;
}

std::string FolderPart(const std::string& path) {
  const size_t cut = path.find_last_of(kFolderPartEnds);
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string WithoutFinalSeparator(std::string path) {
  while (path.size() > 1 && IsSeparator(path.back()) && !IsRoot(path)) path.pop_back();
  return path;
}

bool FileExists(const std::string& path) { return TypeOf(ResolveCase(path), true) == EntryType::File; }

std::int64_t FileSize(const std::string& path) {
  const std::string resolved = ResolveCase(path);
  std::uint64_t size = 0;
  std::error_code ec;
  if (!files_system::SizeOf(resolved, size, ec)) {
    if (ec && !IsNotThere(ec)) throw FileError(resolved, Reason(ec));
    return 0;
  }
  return static_cast<std::int64_t>(size);
}

std::string ReadFileBytes(const std::string& path) {
  std::string real = ResolveCase(path);
  std::FILE* f = OpenFile(real, "rb");
  if (!f) throw FileError(path, Reason(errno));
  std::string bytes;
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, got);
  bool failed = std::ferror(f) != 0;
  int err = errno;
  std::fclose(f);
  if (failed) throw FileError(path, Reason(err));
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  CheckFault(FileOperation::Create, path);
  std::string real = ResolveCase(path);
  std::FILE* f = OpenFile(real, "wb");
  if (!f) throw FileError(path, Reason(errno));
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  int err = errno;
  if (std::fclose(f) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (!ok) throw FileError(path, Reason(err));
}

namespace {

// A name no other writer picks: 64 random bits and a count of this process's
// names, in hexadecimal.
std::string UniqueText() {
  static std::atomic<unsigned> count{0};
  static std::mutex oneAtATime;
  std::uint64_t bits;
  {
    std::lock_guard<std::mutex> lock(oneAtATime);
    static std::random_device device;
    bits = (static_cast<std::uint64_t>(device()) << 32) ^ device();
  }
  char text[40];
  std::snprintf(text, sizeof text, "%016llx-%x", static_cast<unsigned long long>(bits), count++);
  return text;
}

}  // namespace

void WriteFileInOneStep(const std::string& path, const std::string& bytes) {
  // A new hidden file beside it, made for this write alone: its name with a
  // dot in front and a unique text and ".new" after. It is created, never
  // opened if it exists, so a link put under its name is not written
  // through, and two writers of one file never share it.
  const size_t cut = path.find_last_of("/\\");
  std::string hidden = path;
  hidden.insert(cut == std::string::npos ? 0 : cut + 1, 1, '.');
  std::string fresh;
  std::FILE* f = nullptr;
  for (int attempt = 0; !f; ++attempt) {
    fresh = hidden + "." + UniqueText() + ".new";
    try {
      CheckFault(FileOperation::Create, fresh);
      f = files_system::OpenNewFile(fresh);
    } catch (const FileError& e) {
      throw FileError(path, e.reason());
    }
    // Something else under the name (a link planted there): another name.
    if (!f && attempt == 9) throw FileError(path, Reason(EEXIST));
  }
  try {
    int err = 0;
    try {
      CheckFault(FileOperation::Write, fresh);
    } catch (const FileError&) {
      std::fclose(f);
      throw;
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) err = errno ? errno : EIO;
    if (std::fclose(f) != 0 && !err) err = errno;
    if (err) throw FileError(path, Reason(err));
    SyncFile(fresh);
    PlaceFile(fresh, path);
  } catch (const FileError& e) {
    files_system::RemoveEntry(fresh);
    if (e.path() == path) throw;
    throw FileError(path, e.reason());
  }
}

void CopyFileReplacing(const std::string& from, const std::string& to) { CopyFileReplacing(from, to, ResolveCase(to)); }

void CopyFileReplacing(const std::string& from, const std::string& to, const std::string& target) {
  CheckFault(FileOperation::Copy, to);
  std::string source = ResolveCase(from);
  if (TypeOf(source, true) != EntryType::None && TypeOf(target, true) != EntryType::None &&
      files_system::SameEntry(source, target)) {
    return;
  }
  std::error_code ec;
  files_system::CopyFileOver(source, target, ec);
  if (ec) {
    // The message names the side that failed.
    throw FileError(TypeOf(source, true) == EntryType::File ? to : from, Reason(ec));
  }
}

void RenameReplacing(const std::string& from, const std::string& to) {
  CheckFault(FileOperation::Rename, to);
  std::string source = ResolveCase(from);
  std::string existing = ResolveCase(to);
  // The file takes the new spelling: a differently spelt file of that name goes first.
  if (existing != to && TypeOf(existing, true) != EntryType::None && !files_system::SameEntry(existing, source)) {
    if (const std::error_code ec = files_system::RemoveEntry(existing)) throw FileError(existing, Reason(ec));
  }
  if (const std::error_code ec = files_system::MoveEntry(source, to)) throw FileError(from, Reason(ec));
}

void DeleteFileIfExists(const std::string& path) {
  CheckFault(FileOperation::Delete, path);
  const std::string real = ResolveCase(path);
  if (TypeOf(real, false) == EntryType::None) return;
  if (const std::error_code ec = files_system::RemoveEntry(real)) throw FileError(path, Reason(ec));
}

void CheckFolderCanBeRead(const std::string& folder) {
  if (!ReadFolder(folder, true, [](const std::string&, EntryType) {})) throw FileError(folder, SystemReason(ENOENT));
}

std::vector<std::string> ListFolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  ReadFolder(folder, true, [&](const std::string& name, EntryType) { names.push_back(name); });
  std::sort(names.begin(), names.end());
  return names;
}

bool EntryExists(const std::string& path) {
  std::error_code ec;
  return files_system::TypeOf(path, false, ec) != EntryType::None;
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return files_system::TypeOf(path, true, ec) == EntryType::Folder;
}

void CreateFolder(const std::string& path) {
  CheckFault(FileOperation::CreateFolder, path);
  if (const std::error_code ec = files_system::MakeFolder(path)) throw FileError(path, Reason(ec));
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  // Iterative matcher over characters (UTF-8 aware for "?").
  std::string p = AsciiUpper(pattern);
  std::string n = AsciiUpper(name);
  auto next = [](const std::string& s, size_t i) { return i + Utf8CharLength(s, i); };
  size_t pi = 0, ni = 0, star = std::string::npos, mark = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == '?') {
      pi = next(p, pi);
      ni = next(n, ni);
    } else if (pi < p.size() && p[pi] == '*') {
      star = pi++;
      mark = ni;
    } else if (pi < p.size() && p[pi] == n[ni]) {
      ++pi;
      ++ni;
    } else if (star != std::string::npos) {
      pi = star + 1;
      mark = next(n, mark);
      ni = mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

std::string WildcardLiteralPrefix(const std::string& pattern) {
  // WildcardMatch compares the characters before the first wild card byte
  // for byte with the name's first ones.
  return AsciiUpper(pattern.substr(0, pattern.find_first_of("?*")));
}

FolderSpellings::FolderSpellings(const std::string& folder) {
  // Every entry, as ResolveCase reads them.
  ReadFolder(folder, true, [&](const std::string& name, EntryType) { Add(name); });
}

std::string FolderSpellings::Resolve(const std::string& name) const {
  if (names_.count(name) > 0) return name;
  const auto found = preferred_.find(AsciiUpper(name));
  return found == preferred_.end() ? name : found->second;
}

void FolderSpellings::Add(const std::string& name) {
  names_.insert(name);
  const std::string upper = AsciiUpper(name);
  PreferSpelling(name, upper, preferred_[upper]);
}

std::vector<std::string> ListMatchingFiles(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  ReadFolder(folder, true, [&](const std::string& name, EntryType type) {
    if (name.empty() || name[0] == '.') return;
    // A file that a link leads to counts, as the copy reads it.
    if (type == EntryType::Other) type = TypeOf(JoinPath(folder, name), true);
    if (type != EntryType::File) return;
    // The name as it stands: a POSIX name may end in a space, and the copy needs it.
    if (WildcardMatch(pattern, name)) names.push_back(name);
  });
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace k2v
