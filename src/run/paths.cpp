#include "run/paths.hpp"

#include <filesystem>

#include "platform/files.hpp"
#include "platform/volumes.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

const char* const kDriveLetterMessage =
    "規定値のドライブ名が正しくありません。ドライブ名は１文字のアルファベットと \":\" でなければいけません。  例 \"C:\", \"D:\"...";
const char* const kPosixRootMessage =
    "規定値のパスが正しくありません。パスは \"/\" で始まらなければいけません。  例 \"/home\", \"/mnt\"...";

WindowsPathRules::WindowsPathRules(std::function<bool(char)> selectDrive) : selectDrive_(std::move(selectDrive)) {}

bool WindowsPathRules::ValidatePath(std::string& path, FrontEnd& ui) const {
  path = Trim(path);
  if (SjisMid(path, 2, 1) != ":") {
    ui.ShowMessage(kDriveLetterMessage, "", MessageIcon::Information, MessageButtons::Ok);
    return false;
  }
  if (path.find('*') != std::string::npos) return false;
  if (path.find('?') != std::string::npos) return false;
  std::string drive = LeftCharsOf(path, 2);
  if (CharCount(path) > 2 && path.compare(drive.size(), 1, "\\") != 0) path.insert(drive.size(), 1, '\\');
  if (!selectDrive_ || !selectDrive_(path[0])) return false;
  if (path.empty() || path.back() != '\\') path += '\\';
  if (CharCount(path) == 3 && path.ends_with(":\\")) return true;
  if (path.find("\\\\") != std::string::npos) return false;
  return true;
}

std::string WindowsPathRules::TrailingSeparatorMessage() const { return "最後のﾌｫﾙﾀﾞに「￥」は要りません。"; }

std::string WindowsPathRules::GanbanMissingMessage() const { return " Ｖａｎｔｏｒのﾌｫﾙﾀﾞ（\\GANBAN）がありません."; }

bool PosixPathRules::ValidatePath(std::string& path, FrontEnd& ui) const {
  path = Trim(path);
  if (path.empty() || path[0] != '/') {
    ui.ShowMessage(kPosixRootMessage, "", MessageIcon::Information, MessageButtons::Ok);
    return false;
  }
  if (path.find('*') != std::string::npos) return false;
  if (path.find('?') != std::string::npos) return false;
  if (path.back() != '/') path += '/';
  if (path == "/") return true;
  if (path.find("//") != std::string::npos) return false;
  return true;
}

std::string PosixPathRules::TrailingSeparatorMessage() const { return "最後のﾌｫﾙﾀﾞに「/」は要りません。"; }

std::string PosixPathRules::GanbanMissingMessage() const { return " Ｖａｎｔｏｒのﾌｫﾙﾀﾞ（/GANBAN）がありません."; }

std::string TypedPathText(const std::string& typed) {
  const std::string path = Trim(typed);
  if (path.empty()) return typed;
  const char sep = NativePathRules().Separator();
  std::string normal = PathText(NativePath(path).lexically_normal());
  // On Linux a path that begins with two separators is left so by the library.
  if (sep == '/') {
    for (size_t at = normal.find("//"); at != std::string::npos; at = normal.find("//")) normal.erase(at, 1);
  }
  // "/a/b/.." normalises to "/a/", with a separator the user did not type.
  if (path.back() != '/' && path.back() != sep) normal = WithoutFinalSeparator(normal);
  const size_t start = typed.find(path);
  return typed.substr(0, start) + normal + typed.substr(start + path.size());
}

const PathRules& NativePathRules() {
  static const WindowsPathRules windows(DriveIsReady);
  static const PosixPathRules posix;
  if (HasDriveLetters()) return windows;
  return posix;
}

}  // namespace k2v
