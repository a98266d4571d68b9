#include "platform/volumes.hpp"

#include <algorithm>
#include <array>
#include <sstream>
#include <string_view>

namespace k2v {

namespace {

#ifdef _WIN32
// Drive paths: either separator, letters in any case.
bool IsSeparator(char c) { return c == '/' || c == '\\'; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool SameCharacter(char a, char b) { return IsSeparator(a) ? IsSeparator(b) : Upper(a) == Upper(b); }
#else
bool IsSeparator(char c) { return c == '/'; }
bool SameCharacter(char a, char b) { return a == b; }
#endif

// File systems without user data: the kernel's views of itself, memory file
// systems and the desktop's virtual folders.
constexpr std::array<std::string_view, 30> kPseudoTypes = {
    "proc",   "sysfs",      "devtmpfs", "devpts",          "tmpfs",       "ramfs",      "cgroup",   "cgroup2",
    "cpuset", "securityfs", "debugfs",  "tracefs",         "pstore",      "bpf",        "configfs", "fusectl",
    "mqueue", "hugetlbfs",  "autofs",   "binfmt_misc",     "efivarfs",    "rpc_pipefs", "nsfs",     "selinuxfs",
    "sockfs", "pipefs",     "nfsd",     "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs",
};

// Mount points escape space, tab, newline and backslash as \ooo.
std::string UnescapeMountField(const std::string& field) {
  std::string out;
  out.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      bool octal = true;
      int value = 0;
      for (size_t k = 1; k <= 3; ++k) {
        char c = field[i + k];
        if (c < '0' || c > '7') {
          octal = false;
          break;
        }
        value = value * 8 + (c - '0');
      }
      if (octal) {
        out += static_cast<char>(value);
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

// Keeps one entry per mount point at its first place (a later mount over the
// same folder hides the earlier one), drops pseudo file systems and puts the
// root first.
std::vector<Volume> Arrange(const std::vector<Volume>& mounts) {
  std::vector<Volume> unique;
  for (const Volume& v : mounts) {
    auto same = std::find_if(unique.begin(), unique.end(), [&](const Volume& u) { return u.root == v.root; });
    if (same != unique.end()) {
      *same = v;
    } else {
      unique.push_back(v);
    }
  }
  std::vector<Volume> result;
  for (const Volume& v : unique) {
    if (v.root == "/" && !IsPseudoFileSystem(v.type)) result.insert(result.begin(), v);
  }
  for (const Volume& v : unique) {
    if (v.root != "/" && !IsPseudoFileSystem(v.type)) result.push_back(v);
  }
  return result;
}

}  // namespace

bool IsPseudoFileSystem(const std::string& type) {
  return std::find(kPseudoTypes.begin(), kPseudoTypes.end(), type) != kPseudoTypes.end();
}

std::vector<Volume> ParseMountInfo(const std::string& text) {
  // id parent major:minor root mount-point options [optional...] - type source super-options
  std::vector<Volume> mounts;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> w = Words(line);
    auto dash = std::find(w.begin(), w.end(), "-");
    if (w.size() < 5 || dash == w.end() || dash - w.begin() < 6 || w.end() - dash < 3) continue;
    mounts.push_back(Volume{UnescapeMountField(w[4]), *(dash + 1), UnescapeMountField(*(dash + 2))});
  }
  return Arrange(mounts);
}

std::vector<Volume> ParseMounts(const std::string& text) {
  // source mount-point type options dump pass
  std::vector<Volume> mounts;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> w = Words(line);
    if (w.size() < 3) continue;
    mounts.push_back(Volume{UnescapeMountField(w[1]), w[2], UnescapeMountField(w[0])});
  }
  return Arrange(mounts);
}

bool PathIsWithin(const std::string& path, const std::string& root) {
  if (root.empty()) return false;
  if (root == "/") return !path.empty() && path[0] == '/';
  std::string base = root;
  while (base.size() > 1 && IsSeparator(base.back())) base.pop_back();
  if (path.size() < base.size()) return false;
  for (size_t i = 0; i < base.size(); ++i) {
    if (!SameCharacter(path[i], base[i])) return false;
  }
  return path.size() == base.size() || IsSeparator(path[base.size()]);
}

std::string PathKey(const std::string& path) {
  std::string key = path;
#ifdef _WIN32
  for (char& c : key) c = IsSeparator(c) ? '\\' : Upper(c);
#endif
  return key;
}

int VolumeIndexOf(const std::vector<Volume>& volumes, const std::string& path) {
  int best = -1;
  size_t bestLength = 0;
  for (size_t i = 0; i < volumes.size(); ++i) {
    const std::string& root = volumes[i].root;
    if (PathIsWithin(path, root) && (best < 0 || root.size() > bestLength)) {
      best = static_cast<int>(i);
      bestLength = root.size();
    }
  }
  return best;
}

}  // namespace k2v
