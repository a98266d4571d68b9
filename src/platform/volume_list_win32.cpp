// The drives of a Windows machine.

#include <windows.h>

#include "platform/volumes.hpp"

namespace k2v {

namespace {

// The root of the drive ("C:\"), or empty for a character that is no letter.
std::wstring DriveRoot(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') return {};
  return std::wstring{static_cast<wchar_t>(letter), L':', L'\\'};
}

// The kind of drive, or empty when there is none at that letter.
std::string DriveType(const std::wstring& root) {
  if (root.empty() || !(GetLogicalDrives() & (1u << (root[0] - L'A')))) return {};
  switch (GetDriveTypeW(root.c_str())) {
    case DRIVE_FIXED: return "fixed";
    case DRIVE_REMOVABLE: return "removable";
    case DRIVE_REMOTE: return "remote";
    case DRIVE_CDROM: return "cdrom";
    case DRIVE_RAMDISK: return "ramdisk";
    default: return {};
  }
}

// True when the drive answers: a removable or CD drive without a disk does
// not. The system is told not to ask the user to insert one.
bool Answers(const std::wstring& root) {
  const UINT before = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const BOOL ok = GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0);
  SetErrorMode(before);
  return ok != 0;
}

}  // namespace

bool DriveIsReady(char letter) {
  const std::wstring root = DriveRoot(letter);
  return !DriveType(root).empty() && Answers(root);
}

bool HasDriveLetters() { return true; }

std::vector<Volume> MountedVolumes() {
  std::vector<Volume> drives;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::wstring root = DriveRoot(letter);
    const std::string type = DriveType(root);
    if (!type.empty() && Answers(root)) drives.push_back(Volume{std::string{letter, ':', '\\'}, type, ""});
  }
  return drives;
}

}  // namespace k2v
