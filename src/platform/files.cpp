#include "platform/files.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <signal.h>
#include <unistd.h>

#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace fs = std::filesystem;

namespace k2v {

FileError::FileError(std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}

std::string SystemReason(int err) {
  // The user's locale, when its messages are UTF-8 like the program's text.
  static const locale_t userLocale = [] {
    locale_t l = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
    if (l && std::strcmp(nl_langinfo_l(CODESET, l), "UTF-8") != 0) {
      freelocale(l);
      l = static_cast<locale_t>(0);
    }
    return l;
  }();
  if (userLocale) return strerror_l(err, userLocale);
  return std::strerror(err);
}

namespace {

std::string Reason(const std::error_code& ec) {
  if (ec.category() == std::system_category() || ec.category() == std::generic_category()) {
    return SystemReason(ec.value());
  }
  return ec.message();
}
std::string Reason(int err) { return SystemReason(err); }

FaultHook& Hook() {
  static FaultHook hook;
  return hook;
}

}  // namespace

void SetFaultHook(FaultHook hook) { Hook() = std::move(hook); }

void CheckFault(FileOperation operation, const std::string& path) {
  if (!Hook()) return;
  if (int err = Hook()(operation, path)) throw FileError(path, Reason(err));
}

void PreferSpelling(const std::string& candidate, const std::string& wanted, std::string& best) {
  if (SameNameIgnoringCase(candidate, wanted) && (best.empty() || candidate < best)) best = candidate;
}

std::string ResolveCase(const std::string& path) {
  std::error_code ec;
  fs::path p(path);
  if (fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec) return path;
  fs::path parent = p.parent_path();
  const std::string wanted = p.filename().string();
  if (wanted.empty()) return path;
  fs::directory_iterator it(parent.empty() ? fs::path(".") : parent, ec);
  if (ec) return path;
  std::string best;
  for (const auto& entry : it) PreferSpelling(entry.path().filename().string(), wanted, best);
  if (best.empty()) return path;
  return (parent / best).string();
}

std::string JoinPath(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  const bool endsInSeparator = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
  const char separator = '\\';
#else
  const bool endsInSeparator = !folder.empty() && folder.back() == '/';
  const char separator = '/';
#endif
  return endsInSeparator ? folder + name : folder + separator + name;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(ResolveCase(path), ec);
}

std::int64_t FileSize(const std::string& path) {
  std::error_code ec;
  std::string real = ResolveCase(path);
  if (!fs::is_regular_file(real, ec)) return 0;
  auto size = fs::file_size(real, ec);
  if (ec) return 0;
  return static_cast<std::int64_t>(size);
}

std::string ReadFileBytes(const std::string& path) {
  std::string real = ResolveCase(path);
  std::FILE* f = std::fopen(real.c_str(), "rb");
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
  std::FILE* f = std::fopen(real.c_str(), "wb");
  if (!f) throw FileError(path, Reason(errno));
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  int err = errno;
  if (std::fclose(f) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (!ok) throw FileError(path, Reason(err));
}

void CopyFileReplacing(const std::string& from, const std::string& to) {
  CheckFault(FileOperation::Copy, to);
  std::string source = ResolveCase(from);
  std::string target = ResolveCase(to);
  std::error_code ec;
  if (fs::exists(source, ec) && fs::exists(target, ec) && fs::equivalent(source, target, ec)) return;
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    // The message names the side that failed.
    std::error_code probe;
    throw FileError(fs::is_regular_file(source, probe) ? to : from, Reason(ec));
  }
}

void RenameReplacing(const std::string& from, const std::string& to) {
  CheckFault(FileOperation::Rename, to);
  std::string source = ResolveCase(from);
  std::string existing = ResolveCase(to);
  std::error_code ec;
  // The file takes the new spelling: a differently spelt file of that name goes first.
  if (existing != to && fs::exists(existing, ec) && !fs::equivalent(existing, source, ec)) {
    fs::remove(existing, ec);
    if (ec) throw FileError(existing, Reason(ec));
  }
  fs::rename(source, to, ec);
  if (ec) throw FileError(from, Reason(ec));
}

void DeleteFileIfExists(const std::string& path) {
  CheckFault(FileOperation::Delete, path);
  std::string real = ResolveCase(path);
  std::error_code ec;
  if (fs::symlink_status(real, ec).type() == fs::file_type::not_found) return;
  fs::remove(real, ec);
  if (ec) throw FileError(path, Reason(ec));
}

namespace {

void SyncDescriptor(const std::string& path, int flags, bool folder) {
  int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) throw FileError(path, Reason(errno));
  // A folder on a file system that cannot flush its entries is no failure.
  if (::fsync(fd) != 0 && !(folder && (errno == EINVAL || errno == EROFS))) {
    int err = errno;
    ::close(fd);
    throw FileError(path, Reason(err));
  }
  ::close(fd);
}

}  // namespace

void SyncFile(const std::string& path) {
  CheckFault(FileOperation::Sync, path);
  SyncDescriptor(path, O_RDONLY, false);
}

void SyncFolder(const std::string& path) { SyncDescriptor(path, O_RDONLY | O_DIRECTORY, true); }

void PlaceFile(const std::string& from, const std::string& to) {
  CheckFault(FileOperation::Rename, to);
  if (::rename(from.c_str(), to.c_str()) != 0) throw FileError(to, Reason(errno));
}

void RemoveTree(const std::string& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
  if (ec) throw FileError(path, Reason(ec));
}

std::vector<std::string> ListFolderFiles(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) throw FileError(folder, Reason(ec));
  for (const auto& entry : it) {
    std::error_code typeError;
    if (entry.symlink_status(typeError).type() == fs::file_type::regular) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool IsFolderEntry(const std::string& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() == fs::file_type::directory;
}

bool IsLinkEntry(const std::string& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() == fs::file_type::symlink;
}

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
  ::signal(SIGXFSZ, SIG_IGN);
#endif
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

void CreateFolder(const std::string& path) {
  CheckFault(FileOperation::CreateFolder, path);
  std::error_code ec;
  fs::create_directory(path, ec);
  if (ec) throw FileError(path, Reason(ec));
}

bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code ec;
  bool same = fs::equivalent(a, b, ec);
  return !ec && same;
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

std::vector<std::string> ListMatchingFiles(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return names;
  for (const auto& entry : it) {
    std::string name = entry.path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code typeError;
    if (!entry.is_regular_file(typeError)) continue;
    // The name as it stands: a POSIX name may end in a space, and the copy needs it.
    if (WildcardMatch(pattern, name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string SysDir() {
  const char* dir = std::getenv("KOLBRIX2VANTOR_SYSTEM_DIR");
  if (dir && *dir) return dir;
  return "/etc";
}

}  // namespace k2v
