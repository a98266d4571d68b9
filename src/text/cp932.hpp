#pragma once
// CP932, the code page of Kolbrix's and Vantor's files, and the program's
// UTF-8 text, converted at the file boundary with one mapping on every
// system (cp932_table.hpp: glibc's, also on Windows). A byte that is not part
// of a valid CP932 character (or that the end of the bytes cut from its
// partner) is carried as the code point U+DC00+byte, which writes back as the
// same byte and measures one byte. The only bytes a round trip changes are
// those of characters CP932 can write in two ways (the NEC and IBM extension
// duplicates, such as 0x87 0x90 and 0x81 0xE0): they come out in the code
// glibc's iconv writes.

#include <cstddef>
#include <string>
#include <string_view>

namespace k2v {

// Appends the program text of the bytes of a CP932 file to out, losslessly.
// When complete is false the bytes are the start of a longer text: a
// character cut off at their end is left for the next call. Returns how many
// bytes were converted.
size_t DecodeCp932Append(std::string_view bytes, std::string& out, bool complete = true);
// Appends the CP932 bytes of the program text to out; a character CP932
// cannot write becomes "?".
void EncodeCp932Append(std::string_view text, std::string& out);

// The CP932 bytes of the one character ch (its byte for an escape).
std::string EncodeCp932Char(std::string_view ch);
// The same into bytes, without making a text: returns how many bytes the
// character has (a CP932 character has one or two), of which at most four
// are written.
size_t EncodeCp932CharInto(std::string_view ch, char (&bytes)[4]);
// Appends a byte kept on its own: below 0x80 the ASCII character it spells,
// above it the escape U+DC00+byte, which writes back as that byte.
void AppendCp932Byte(std::string& out, unsigned char byte);
// Appends the code point as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
// True when the bytes hold a character beyond ASCII and are well-formed UTF-8
// throughout: a text saved as UTF-8, which Japanese CP932 text practically
// never is.
bool IsUtf8Text(std::string_view bytes);
// Length of the UTF-8 character starting at text[i], never past the end (1
// for a stray byte).
inline size_t Utf8CharLength(std::string_view text, size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  size_t len = 1;
  if ((lead & 0xE0) == 0xC0) {
    len = 2;
  } else if ((lead & 0xF0) == 0xE0) {
    len = 3;
  } else if ((lead & 0xF8) == 0xF0) {
    len = 4;
  }
  return len < text.size() - i ? len : text.size() - i;
}

}  // namespace k2v
