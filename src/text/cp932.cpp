#include "text/cp932.hpp"

#include <cstring>

#include "text/cp932_table.hpp"

namespace k2v {
namespace {

constexpr char32_t kEscapeBase = 0xDC00;

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

bool IsUtf8Text(std::string_view bytes) {
  bool beyondAscii = false;
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    // The shortest forms only, no surrogates, nothing above U+10FFFF.
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + k]);
      if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) return false;
    }
    beyondAscii = true;
    i += length;
  }
  return beyondAscii;
}

void AppendCp932Byte(std::string& out, unsigned char byte) {
  if (byte < 0x80) {
    out += static_cast<char>(byte);
  } else {
    AppendUtf8(out, kEscapeBase + byte);
  }
}

namespace {

// The code point of a well-formed UTF-8 character of two or three bytes at
// ch (ch holds exactly its bytes), or -1.
inline long TwoOrThreeByteCodePoint(std::string_view ch) {
  auto b = [&](size_t k) { return static_cast<unsigned char>(ch[k]); };
  if (ch.size() == 2) {
    if ((b(1) & 0xC0) != 0x80) return -1;
    const long cp = ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    return cp < 0x80 ? -1 : cp;
  }
  if (ch.size() == 3) {
    if ((b(0) & 0xF0) != 0xE0 || (b(1) & 0xC0) != 0x80 || (b(2) & 0xC0) != 0x80) return -1;
    const long cp = ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    return cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF) ? -1 : cp;
  }
  return -1;
}

// Writes the CP932 bytes of one character that is no ASCII and no escape (ch
// holds the bytes Utf8CharLength gives it) at to, and returns how many. A
// character CP932 has no code for, and a broken one (as long as its first
// byte says), is one "?".
inline size_t EncodeOne(std::string_view ch, char* to) {
  const long cp = TwoOrThreeByteCodePoint(ch);
  const unsigned code = cp < 0 ? 0u : cp932_table::kEncodePages[cp932_table::kEncodePage[cp >> 8]][cp & 0xFF];
  if (code == 0) {
    to[0] = '?';
    return 1;
  }
  if (code < 0x100) {
    to[0] = static_cast<char>(code);
    return 1;
  }
  to[0] = static_cast<char>(code >> 8);
  to[1] = static_cast<char>(code & 0xFF);
  return 2;
}

}  // namespace

std::string EncodeCp932Char(std::string_view ch) {
  char bytes[4];
  return std::string(bytes, EncodeCp932CharInto(ch, bytes));
}

size_t EncodeCp932CharInto(std::string_view ch, char (&bytes)[4]) {
  auto lead = static_cast<unsigned char>(ch[0]);
  if (lead < 0x80) {
    bytes[0] = static_cast<char>(lead);
    return 1;
  }
  int escaped = EscapedByteAt(ch, 0);
  if (escaped >= 0) {
    bytes[0] = static_cast<char>(escaped);
    return 1;
  }
  return EncodeOne(ch.substr(0, Utf8CharLength(ch, 0)), bytes);
}

size_t DecodeCp932Append(std::string_view bytes, std::string& out, bool complete) {
  // The text is made in a buffer on the stack, a few kilobytes at a time: no
  // character then costs a check of the string's room.
  char buffer[4096];
  size_t used = 0;
  constexpr size_t kRoom = sizeof buffer - 3;  // room left for one more character
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    if (used > kRoom) {
      out.append(buffer, used);
      used = 0;
    }
    size_t start = i;
    while (i < n && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    if (i - start <= kRoom - used) {
      std::memcpy(buffer + used, bytes.data() + start, i - start);
      used += i - start;
    } else {
      out.append(buffer, used);
      used = 0;
      out.append(bytes.data() + start, i - start);
    }
    if (i == n) break;
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    char16_t cp = 0;
    size_t size = 1;
    if (const unsigned row = cp932_table::kLeadRow[b0 - 0x80u]) {
      if (i + 1 == n) {
        // A character cut off at the end waits for the next call.
        if (!complete) {
          out.append(buffer, used);
          return i;
        }
      } else if (const auto b1 = static_cast<unsigned char>(bytes[i + 1]); b1 >= 0x40) {
        cp = cp932_table::kPairs[row - 1][b1 - 0x40u];
        if (cp) size = 2;
      }
      // A lead byte that begins no character with the next byte is kept on
      // its own, and the next byte is read anew.
    } else {
      cp = cp932_table::kSingle[b0 - 0x80u];
    }
    // The character (never ASCII: the table holds none), or the escape
    // U+DC00+byte of a byte kept on its own.
    const char32_t c = cp ? cp : kEscapeBase + b0;
    if (c < 0x800) {
      buffer[used++] = static_cast<char>(0xC0 | (c >> 6));
      buffer[used++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      buffer[used++] = static_cast<char>(0xE0 | (c >> 12));
      buffer[used++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      buffer[used++] = static_cast<char>(0x80 | (c & 0x3F));
    }
    i += size;
  }
  out.append(buffer, used);
  return n;
}

void EncodeCp932Append(std::string_view text, std::string& out) {
  // No character has more bytes in CP932 than in UTF-8: the bytes are
  // written in place, into room for all of them.
  size_t at = out.size();
  out.resize(at + text.size());
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    size_t start = i;
    while (i < n && static_cast<unsigned char>(text[i]) < 0x80) ++i;
    if (i > start) {
      std::memcpy(&out[at], text.data() + start, i - start);
      at += i - start;
    }
    if (i == n) break;
    int escaped = EscapedByteAt(text, i);
    if (escaped >= 0) {
      out[at++] = static_cast<char>(escaped);
      i += 3;
      continue;
    }
    const size_t len = Utf8CharLength(text, i);
    at += EncodeOne(text.substr(i, len), &out[at]);
    i += len;
  }
  out.resize(at);
}

}  // namespace k2v
