#include <windows.h>

#include "platform/wide_text.hpp"
#include "text/cp932.hpp"

namespace k2v {

std::wstring Widen(const std::string& utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    auto b0 = static_cast<unsigned char>(utf8[i]);
    size_t len = Utf8CharLength(utf8, i);
    char32_t cp = b0;
    bool whole = len > 1;
    for (size_t k = 1; k < len; ++k) whole = whole && (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
    if (whole) {
      cp = len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
      for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    } else {
      len = 1;  // a stray byte stands for itself
    }
    if (cp >= 0x10000) {
      out += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(cp);
    }
    i += len;
  }
  return out;
}

std::string Narrow(const std::wstring& utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t k = 0; k < utf16.size(); ++k) {
    char32_t cp = static_cast<char16_t>(utf16[k]);
    if (cp >= 0xD800 && cp <= 0xDBFF && k + 1 < utf16.size()) {
      char32_t low = static_cast<char16_t>(utf16[k + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++k;
      }
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string WindowsReason(unsigned long code) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n > 0 && text ? std::wstring(text, n) : std::wstring();
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
    message.pop_back();
  }
  if (message.empty()) return "Windows error " + std::to_string(code);
  return Narrow(message);
}

std::wstring SystemPath(const std::string& path) {
  const std::wstring wide = Widen(path);
  if (wide.empty() || wide.rfind(L"\\\\?\\", 0) == 0 || wide.rfind(L"\\\\.\\", 0) == 0) return wide;
  // GetFullPathNameW itself is not held to the old limit.
  DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  std::wstring full;
  while (size > full.size()) {
    full.assign(size, L'\0');
    size = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  }
  if (size == 0) return wide;
  full.resize(size);
  if (full.rfind(L"\\\\?\\", 0) == 0 || full.rfind(L"\\\\.\\", 0) == 0) return full;
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

}  // namespace k2v
