// CP932 through the Windows code-page calls, giving the bytes and the text
// that glibc's iconv gives on Linux. Both are called strictly
// (MB_ERR_INVALID_CHARS, WC_NO_BEST_FIT_CHARS), and the few characters on
// which the two systems' tables differ are settled here.

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <array>

#include "text/cp932.hpp"
#include "text/cp932_backend.hpp"

namespace k2v::cp932_backend {
namespace {

constexpr UINT kCp932 = 932;

// Characters that only one of the two systems writes: glibc writes the
// first nine (Windows has no code for them), Windows the last five (glibc
// has none, so they stay unwritable, "?").
struct Difference {
  char32_t cp;
  const char* bytes;  // empty: unwritable
};
constexpr std::array<Difference, 14> kEncodeDifferences = {{
    {0x00A2, "\x81\x91"}, {0x00A3, "\x81\x92"}, {0x00A5, "\x5C"},     {0x00AC, "\x81\xCA"},
    {0x2014, "\x81\x5C"}, {0x2016, "\x81\x61"}, {0x203E, "\x7E"},     {0x2212, "\x81\x7C"},
    {0x301C, "\x81\x60"}, {0x0080, ""},         {0xF8F0, ""},         {0xF8F1, ""},
    {0xF8F2, ""},         {0xF8F3, ""},
}};
// The fifteenth: Windows reads the byte 0x80 as U+0080; glibc has no
// character there, so it is kept as its byte. The single bytes are settled
// before the system is asked (below).

const Difference* EncodeDifference(char32_t cp) {
  for (const Difference& d : kEncodeDifferences) {
    if (d.cp == cp) return &d;
  }
  return nullptr;
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
bool IsHalfWidthKatakana(unsigned char b) { return b >= 0xA1 && b <= 0xDF; }

void AppendWide(std::string& out, const wchar_t* wide, int count) {
  for (int k = 0; k < count; ++k) {
    char32_t cp = static_cast<char16_t>(wide[k]);
    if (cp >= 0xD800 && cp <= 0xDBFF && k + 1 < count) {
      char32_t low = static_cast<char16_t>(wide[k + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++k;
      }
    }
    AppendUtf8(out, cp);
  }
}

// The code point of one double-byte character, or 0 when Windows has none.
char32_t DecodePair(unsigned char lead, unsigned char trail) {
  const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  wchar_t wide[2];
  int n = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, pair, 2, wide, 2);
  return n == 1 ? static_cast<char16_t>(wide[0]) : 0;
}

// True for a byte the fast path must leave to the careful one: 0x80 and the
// bytes Windows reads as private-use characters (0xA0, 0xFD to 0xFF).
bool NeedsCare(unsigned char b) { return b == 0x80 || b == 0xA0 || b >= 0xFD; }

// The code point of a well-formed UTF-8 sequence of len bytes at s, or -1.
// Overlong forms, surrogates and values past U+10FFFF are not well formed.
long WellFormedUtf8(std::string_view s, size_t i, size_t len) {
  auto b = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
  if (i + len > s.size()) return -1;
  for (size_t k = 1; k < len; ++k) {
    if ((b(k) & 0xC0) != 0x80) return -1;
  }
  long cp;
  switch (len) {
    case 2:
      cp = ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
      return cp < 0x80 ? -1 : cp;
    case 3:
      cp = ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
      return cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF) ? -1 : cp;
    case 4:
      cp = ((b(0) & 0x07L) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
      return cp < 0x10000 || cp > 0x10FFFF ? -1 : cp;
    default:
      return -1;
  }
}

// The CP932 bytes of one code point, appended; false when CP932 cannot write it.
bool EncodeCodePoint(char32_t cp, std::string& out) {
  if (const Difference* d = EncodeDifference(cp)) {
    if (!*d->bytes) return false;
    out += d->bytes;
    return true;
  }
  wchar_t wide[2];
  int wideCount = 1;
  if (cp >= 0x10000) {
    wide[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
    wide[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    wideCount = 2;
  } else {
    wide[0] = static_cast<wchar_t>(cp);
  }
  char bytes[4];
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide, wideCount, bytes, sizeof bytes, nullptr,
                              &usedDefault);
  if (n <= 0 || usedDefault) return false;
  out.append(bytes, static_cast<size_t>(n));
  return true;
}

}  // namespace

size_t DecodeRun(std::string_view bytes, std::string& out, bool partial) {
  const size_t n = bytes.size();
  // Most runs are plain Japanese text that Windows reads as glibc does.
  bool plain = n <= 0x7FFFFFFF;
  for (size_t k = 0; plain && k < n; ++k) plain = !NeedsCare(static_cast<unsigned char>(bytes[k]));
  if (plain) {
    int size = static_cast<int>(n);
    int wideCount = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (wideCount > 0) {
      std::wstring wide(static_cast<size_t>(wideCount), L'\0');
      MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), wideCount);
      AppendWide(out, wide.data(), wideCount);
      return 0;
    }
  }
  // One character at a time: a byte that begins none is kept as it is.
  size_t i = 0;
  while (i < n) {
    auto lead = static_cast<unsigned char>(bytes[i]);
    if (IsHalfWidthKatakana(lead)) {
      AppendUtf8(out, 0xFF61 + (lead - 0xA1));
      ++i;
      continue;
    }
    if (IsLeadByte(lead)) {
      if (i + 1 == n) {
        if (partial) return 1;
      } else {
        auto trail = static_cast<unsigned char>(bytes[i + 1]);
        char32_t cp = IsTrailByte(trail) ? DecodePair(lead, trail) : 0;
        if (cp != 0) {
          AppendUtf8(out, cp);
          i += 2;
          continue;
        }
      }
    }
    AppendCp932Byte(out, lead);
    ++i;
  }
  return 0;
}

void EncodeRun(std::string_view text, std::string& out) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    size_t len = Utf8CharLength(text, i);
    long cp = WellFormedUtf8(text, i, len);
    if (cp < 0 || !EncodeCodePoint(static_cast<char32_t>(cp), out)) out += '?';
    i += len;
  }
}

}  // namespace k2v::cp932_backend
