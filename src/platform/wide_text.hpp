#pragma once
// UTF-8 and the UTF-16 of Windows names, for the *_win32.cpp files. A lone
// surrogate (an escaped CP932 byte in a name, or a name Windows allows but
// Unicode does not) goes through both ways unchanged.

#include <string>

namespace k2v {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
// The system's text for a Windows error code, in UTF-8, without the final line end.
std::string WindowsReason(unsigned long code);

// The form in which every file call of the *_win32.cpp files hands a path to
// the system: UTF-16, absolute (against the current folder, "/" read as
// "\", "." and ".." taken out, as the system itself reads a path), with
// "\\?\" in front ("\\?\UNC\" for a network path), so that no call is
// held to the old limit of 260 characters: Windows then takes paths of up to
// about 32,000 characters. A path already in that form, and a device
// ("\\.\"), is handed on as it is.
std::wstring SystemPath(const std::string& path);

}  // namespace k2v
