// The volumes of a Linux machine, from the kernel's mount table.

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "platform/volumes.hpp"

namespace k2v {

namespace {

std::string ReadWhole(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::vector<Volume> MountedVolumes() {
  std::vector<Volume> parsed;
  std::string info = ReadWhole("/proc/self/mountinfo");
  if (!info.empty()) {
    parsed = ParseMountInfo(info);
  } else {
    parsed = ParseMounts(ReadWhole("/proc/mounts"));
  }
  // Files mounted over single files (as in containers) and mount points
  // this user cannot look at are no drives.
  std::vector<Volume> usable;
  for (const Volume& v : parsed) {
    struct stat st {};
    if (::stat(v.root.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) usable.push_back(v);
  }
  return usable;
}

bool DriveIsReady(char) { return false; }

bool HasDriveLetters() { return false; }

}  // namespace k2v
