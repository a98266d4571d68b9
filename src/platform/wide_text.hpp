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

}  // namespace k2v
