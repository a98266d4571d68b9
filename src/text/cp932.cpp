#include "text/cp932.hpp"

#include "text/cp932_backend.hpp"

#include <algorithm>
#include <unordered_map>

namespace k2v {
namespace {

constexpr char32_t kEscapeBase = 0xDC00;

// Length in bytes of the UTF-8 sequence that starts with lead (1 for a stray byte).
size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}


// The escaped byte of a U+DC00..U+DCFF character at i, or -1. Decoding only
// makes U+DC80..U+DCFF, but every escape writes back as its byte.
int EscapedByteAt(std::string_view text, size_t i) {
  if (i + 3 > text.size()) return -1;
  auto b0 = static_cast<unsigned char>(text[i]);
  auto b1 = static_cast<unsigned char>(text[i + 1]);
  auto b2 = static_cast<unsigned char>(text[i + 2]);
  if (b0 != 0xED || b1 < 0xB0 || b1 > 0xB3 || (b2 & 0xC0) != 0x80) return -1;
  return ((b1 - 0xB0) << 6) + (b2 & 0x3F);
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendCp932Byte(std::string& out, unsigned char byte) {
  if (byte < 0x80) {
    out += static_cast<char>(byte);
  } else {
    AppendUtf8(out, kEscapeBase + byte);
  }
}

size_t Utf8CharLength(std::string_view text, size_t i) {
  size_t len = Utf8Length(static_cast<unsigned char>(text[i]));
  return std::min(len, text.size() - i);
}

std::string EncodeCp932Char(std::string_view ch) {
  auto lead = static_cast<unsigned char>(ch[0]);
  if (lead < 0x80) return std::string(ch);
  int escaped = EscapedByteAt(ch, 0);
  if (escaped >= 0) return std::string(1, static_cast<char>(escaped));
#ifdef _WIN32
  // mingw's static runtime faults when a thread ends with a thread_local
  // object that has a destructor; each thread's cache stays until the end.
  thread_local auto* cachePointer = new std::unordered_map<std::string, std::string>;
  auto& cache = *cachePointer;
#else
  thread_local std::unordered_map<std::string, std::string> cache;
#endif
  auto it = cache.find(std::string(ch));
  if (it != cache.end()) return it->second;
  std::string bytes;
  cp932_backend::EncodeRun(ch, bytes);
  cache.emplace(std::string(ch), bytes);
  return bytes;
}

size_t DecodeCp932Append(std::string_view bytes, std::string& out, bool complete) {
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    // ASCII below 0x40 never is the trail byte of a double-byte character.
    size_t start = i;
    while (i < n && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    out.append(bytes.data() + start, i - start);
    if (i == n) break;
    size_t runEnd = i;
    while (runEnd < n && static_cast<unsigned char>(bytes[runEnd]) >= 0x40) ++runEnd;
    // Not a valid character (or cut off at the end): keep the byte.
    size_t left = cp932_backend::DecodeRun(bytes.substr(i, runEnd - i), out, !complete && runEnd == n);
    if (left > 0) return n - left;
    i = runEnd;
  }
  return n;
}

std::string DecodeCp932(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  DecodeCp932Append(bytes, out);
  return out;
}

void EncodeCp932Append(std::string_view text, std::string& out) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    size_t start = i;
    while (i < n && static_cast<unsigned char>(text[i]) < 0x80) ++i;
    out.append(text.data() + start, i - start);
    if (i == n) break;
    int escaped = EscapedByteAt(text, i);
    if (escaped >= 0) {
      out += static_cast<char>(escaped);
      i += 3;
      continue;
    }
    size_t runEnd = i;
    while (runEnd < n && static_cast<unsigned char>(text[runEnd]) >= 0x80 && EscapedByteAt(text, runEnd) < 0) {
      runEnd += Utf8CharLength(text, runEnd);
    }
    cp932_backend::EncodeRun(text.substr(i, runEnd - i), out);
    i = runEnd;
  }
}

std::string EncodeCp932(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  EncodeCp932Append(text, out);
  return out;
}

}  // namespace k2v
