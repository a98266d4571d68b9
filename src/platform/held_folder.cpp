#include "platform/held_folder.hpp"

// The held folder's rules, the same on every system.

#include "platform/files.hpp"

namespace k2v {

bool IsPlainName(const std::string& name) {
#ifdef _WIN32
  constexpr const char* kNotInAName = "/\\:";
#else
  constexpr const char* kNotInAName = "/";
#endif
  return !name.empty() && name != "." && name != ".." && name.find_first_of(kNotInAName) == std::string::npos &&
         name.find('\0') == std::string::npos;
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
