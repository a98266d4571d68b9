#include "platform/held_folder.hpp"

// The held folder's rules, the same on every system.

#include "platform/files.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

#ifdef _WIN32
constexpr const char* kNotInAName = "/\\:";

// A device's name (CON, NUL, COM1 ...), with any extension, names the device
// in every folder.
bool IsDeviceName(const std::string& name) {
  const std::string stem = AsciiUpper(name.substr(0, name.find('.')));
  for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
    if (stem == device) return true;
  }
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) && stem[3] >= '1' &&
         stem[3] <= '9';
}
#else
constexpr const char* kNotInAName = "/";
bool IsDeviceName(const std::string&) { return false; }
#endif

}  // namespace

bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of(kNotInAName) == std::string::npos &&
         name.find('\0') == std::string::npos && !IsDeviceName(name);
}

std::string HeldFolder::PathOf(const std::string& name) const { return JoinPath(path_, name); }

void HeldFolder::RemoveTree(const std::string& name) const {
  if (KindOf(name) != Kind::Folder) {
    Delete(name);
    return;
  }
  {
    const HeldFolder folder = Sub(name);
    for (const std::string& inside : folder.Names()) folder.RemoveTree(inside);
  }
  // Closed first: Windows removes no folder that is held.
  RemoveEmptyFolder(name);
}

}  // namespace k2v
