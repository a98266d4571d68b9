// The file operations that need Linux's own calls.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <signal.h>
#include <unistd.h>

#include <climits>

#include "platform/file_system.hpp"
#include "platform/files.hpp"
#include "platform/system_folders.hpp"
#include "text/message_text.hpp"

namespace fs = std::filesystem;

namespace k2v {

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

// Linux names are bytes, and the program's are UTF-8.
fs::path NativePath(const std::string& path) { return fs::path(path); }
std::string PathText(const fs::path& path) { return path.string(); }
std::FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

namespace files_system {

std::string Reason(const std::error_code& ec) {
  if (ec.category() == std::system_category() || ec.category() == std::generic_category()) {
    return SystemReason(ec.value());
  }
  return ec.message();
}

std::string SpellingOnDisk(const std::string& path) { return path; }

bool SameEntry(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

void CopyFileOver(const std::string& from, const std::string& to, std::error_code& ec) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
}

std::FILE* OpenNewFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EEXIST) return nullptr;
    throw FileError(path, SystemReason(errno));
  }
  std::FILE* f = ::fdopen(fd, "wb");
  if (!f) {
    const int err = errno;
    ::close(fd);
    throw FileError(path, SystemReason(err));
  }
  return f;
}

EntryType TypeOf(const std::string& path, bool followLink, std::error_code& ec) {
  ec.clear();
  const fs::file_status status = followLink ? fs::status(path, ec) : fs::symlink_status(path, ec);
  switch (status.type()) {
    case fs::file_type::not_found:
    case fs::file_type::none: return EntryType::None;
    case fs::file_type::regular: return EntryType::File;
    case fs::file_type::directory: return EntryType::Folder;
    default: return EntryType::Other;
  }
}

bool SizeOf(const std::string& path, std::uint64_t& size, std::error_code& ec) {
  ec.clear();
  if (!fs::is_regular_file(path, ec)) return false;
  size = fs::file_size(path, ec);
  return !ec;
}

std::error_code ListFolder(const std::string& folder,
                           const std::function<void(const std::string& name, EntryType type)>& each) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return ec;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    std::error_code typeError;
    const fs::file_type type = it->symlink_status(typeError).type();
    each(it->path().filename().string(), type == fs::file_type::regular     ? EntryType::File
                                         : type == fs::file_type::directory ? EntryType::Folder
                                                                            : EntryType::Other);
  }
  return ec;
}

std::error_code RemoveEntry(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
  return ec;
}

std::error_code MoveEntry(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::rename(from, to, ec);
  return ec;
}

std::error_code MakeFolder(const std::string& path) {
  std::error_code ec;
  fs::create_directory(path, ec);
  return ec;
}

}  // namespace files_system

void SyncFile(const std::string& path) {
  CheckFault(FileOperation::Sync, path);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileError(path, SystemReason(errno));
  if (::fsync(fd) != 0) {
    const int err = errno;
    ::close(fd);
    throw FileError(path, SystemReason(err));
  }
  ::close(fd);
}

void SyncFiles(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  for (const std::string& path : paths) CheckFault(FileOperation::Sync, path);
  // The files lie in one file system (the working folder's).
  const int fd = ::open(paths.front().c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileError(paths.front(), SystemReason(errno));
  if (::syncfs(fd) != 0) {
    const int err = errno;
    ::close(fd);
    throw FileError(paths.front(), SystemReason(err));
  }
  ::close(fd);
}

void PlaceFile(const std::string& from, const std::string& to) {
  CheckFault(FileOperation::Rename, to);
  if (::rename(from.c_str(), to.c_str()) != 0) throw FileError(to, SystemReason(errno));
}

void CheckPathLength(const std::string& path, std::size_t room) {
  bool fits = path.size() + room < PATH_MAX;
  for (size_t start = 0; fits && start < path.size();) {
    const size_t end = std::min(path.find('/', start), path.size());
    fits = end - start <= NAME_MAX;
    start = end + 1;
  }
  if (!fits) throw FileError(path, SystemReason(ENAMETOOLONG));
}

void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
  ::signal(SIGXFSZ, SIG_IGN);
#endif
}

bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code ec;
  bool same = fs::equivalent(a, b, ec);
  return !ec && same;
}

std::string ProgramFolder() {
  char buffer[PATH_MAX + 1];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
  if (n <= 0) return {};
  return WithoutFinalSeparator(FolderPart(std::string(buffer, static_cast<size_t>(n))));
}

std::string UserConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/kolbrix2vantor";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.config/kolbrix2vantor";
  return {};
}

std::string SystemSettingsFolder() { return "/etc"; }

std::string EnvironmentText(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string EnvironmentNotation(const std::string& name) { return "$" + name; }
std::string UserConfigFolderNotation() {
  return N_("$XDG_CONFIG_HOME/kolbrix2vantor (default ~/.config/kolbrix2vantor)");
}
std::string SystemSettingsFolderNotation() { return "/etc"; }

std::string UserInterfaceLanguage() { return {}; }

}  // namespace k2v
