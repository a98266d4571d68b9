#pragma once
// The CP932 mapping, made from glibc's iconv by scripts/make_cp932_table.py
// (cp932_table.cpp, generated and committed). Linux and Windows read and
// write with it alike. Bytes 0x00 to 0x7F are ASCII and are not in it.

namespace k2v::cp932_table {

// Decoding. A byte from 0x80 on, read on its own: its character, or 0 when it
// is a lead byte or no character at all.
extern const char16_t kSingle[0x80];
// For a byte from 0x80 on: 0 unless it is a lead byte, else 1 + its row of
// kPairs.
extern const unsigned char kLeadRow[0x80];
// The character of a lead byte and a next byte from 0x40 on (kPairs[row][byte
// - 0x40]), or 0 when the two make none.
extern const char16_t kPairs[][0xC0];

// Encoding. The bytes of a code point cp from U+0080 to U+FFFF, as one
// number: kEncodePages[kEncodePage[cp >> 8]][cp & 0xFF] is 0 when CP932 has
// no code for it, a byte below 0x100, else lead * 0x100 + next byte. Page 0
// holds no code.
extern const unsigned char kEncodePage[0x100];
extern const unsigned short kEncodePages[][0x100];

}  // namespace k2v::cp932_table
