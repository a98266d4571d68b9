#include <gtest/gtest.h>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#endif

#include <string>
#include <utility>

#include "test_support.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

TEST(Cp932, RoundTripsEveryByteLosslessly) {
  // Every byte alone (followed by a byte that cannot pair with it), then
  // pairs that are valid, invalid and cut off at the end.
  std::string all;
  for (int i = 0; i < 256; ++i) {
    all += static_cast<char>(i);
    all += '\n';
  }
  all += "\x82\xa0\x81\x5c\x88\x9f\xfa\x40\x81\xff\x82";
  EXPECT_EQ(test::Sjis(test::FromSjis(all)), all);
  // Many kilobytes, with ASCII runs of up to 5,000 bytes between (after a
  // line end, which no lead byte pairs with): the text is that of the
  // pieces, however the codec fills its buffers.
  std::string longer;
  std::string text;
  for (size_t k = 0; k < 41; ++k) {
    longer += all + "\n" + std::string(k * 125, 'a');
    text += test::FromSjis(all) + "\n" + std::string(k * 125, 'a');
  }
  EXPECT_EQ(test::FromSjis(longer), text);
  EXPECT_EQ(test::Sjis(text), longer);
}

TEST(Cp932, DecodingInPiecesGivesTheSameTextAtEveryCut) {
  // Bytes read in blocks: a character cut by the block's end waits for the
  // next block, and a broken byte stays broken wherever the cut falls.
  const std::string bytes = test::Sjis("砂混り　シルト") + "\x81\xff\x82\xa0\xa0\x81";
  const std::string whole = test::FromSjis(bytes);
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    std::string out;
    size_t used = DecodeCp932Append(std::string_view(bytes).substr(0, cut), out, false);
    DecodeCp932Append(std::string_view(bytes).substr(used), out);
    EXPECT_EQ(out, whole) << "cut at " << cut;
  }
}

TEST(Cp932, DuplicateExtensionCodesComeOutInGlibcsCode) {
  // NEC-selected IBM extensions (0xED/0xEE) are written as the IBM codes.
  EXPECT_EQ(test::Sjis(test::FromSjis("\xed\x40")), "\xfa\x5c");
}

TEST(Cp932, DecodesJapaneseAndEscapesBrokenBytes) {
  EXPECT_EQ(test::FromSjis(test::Sjis("砂混りシルト")), "砂混りシルト");
  EXPECT_EQ(test::FromSjis("\x82\xa0"), "あ");
  // A lone 0x80 becomes U+DC80 and measures one byte.
  std::string lone = test::FromSjis(
      "A\x80"
      "B");
  EXPECT_EQ(lone,
            "A\xed\xb2\x80"
            "B");
  EXPECT_EQ(SjisLen(lone), 3);
  // Half-width katakana are one byte each.
  EXPECT_EQ(SjisLen("ﾌｫﾙﾀﾞ"), 5);
}

TEST(Cp932, Utf8TextIsToldFromShiftJis) {
  EXPECT_TRUE(IsUtf8Text("950,x,\xE6\xB3\xA5\xE7\x82\xAD,y\r\n"));  // 泥炭 in UTF-8
  EXPECT_FALSE(IsUtf8Text(test::Sjis("950,x,泥炭,ｼﾙﾄ\r\n")));
  EXPECT_FALSE(IsUtf8Text("950,x,y\r\n"));  // ASCII alone tells nothing
  // Not UTF-8: an overlong form, a surrogate, a character cut at the end.
  for (const char* bytes : {"\xC0\xAF", "\xED\xA0\x80", "\xE6\xB3"}) EXPECT_FALSE(IsUtf8Text(bytes)) << bytes;
}

TEST(Cp932, UnwritableCharacterBecomesQuestionMark) {
  EXPECT_EQ(test::Sjis("a\xF0\x9F\x98\x80"
                       "b"),
            "a?b");  // an emoji
  EXPECT_EQ(test::Sjis("Ä"), "?");
}

// The system's own converter, strict: glibc's iconv on Linux; on Windows the
// code-page calls, with the characters on which Windows differs from glibc
// settled as glibc has them.
#ifdef _WIN32
// Those only glibc writes (Windows has no code for them), then those only
// Windows reads and writes (glibc has none: their bytes stay bytes).
struct Difference {
  char32_t cp;
  const char* glibcBytes;  // empty: no code
};
constexpr Difference kDifferences[] = {
    {0x00A2, "\x81\x91"}, {0x00A3, "\x81\x92"}, {0x00A5, "\x5C"},     {0x00AC, "\x81\xCA"}, {0x2014, "\x81\x5C"},
    {0x2016, "\x81\x61"}, {0x203E, "\x7E"},     {0x2212, "\x81\x7C"}, {0x301C, "\x81\x60"}, {0x0080, ""},
    {0xF8F0, ""},         {0xF8F1, ""},         {0xF8F2, ""},         {0xF8F3, ""},
};
const Difference* DifferenceOf(char32_t cp) {
  for (const Difference& d : kDifferences) {
    if (d.cp == cp) return &d;
  }
  return nullptr;
}

// The one character the bytes are, or 0.
char32_t SystemReads(std::string_view bytes) {
  wchar_t wide[4];
  const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), wide, 4);
  if (n != 1) return 0;
  const char32_t cp = static_cast<char16_t>(wide[0]);
  const Difference* d = DifferenceOf(cp);
  return d && !*d->glibcBytes ? 0 : cp;
}
bool SystemLeadByte(unsigned char b) { return IsDBCSLeadByteEx(932, b); }
// The bytes of a code point of the Basic Multilingual Plane, "?" for none.
std::string SystemWrites(char32_t cp) {
  if (const Difference* d = DifferenceOf(cp)) return *d->glibcBytes ? d->glibcBytes : "?";
  const wchar_t wide = static_cast<wchar_t>(cp);
  char bytes[4];
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes, nullptr, &usedDefault);
  return n <= 0 || usedDefault ? "?" : std::string(bytes, static_cast<size_t>(n));
}
#else
// iconv over the bytes in one call: its error (0 for none) and output.
std::pair<int, std::string> Iconv(const char* to, const char* from, std::string_view input) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no iconv CP932");
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char buffer[16];
  char* out = buffer;
  size_t outLeft = sizeof buffer;
  const size_t r = iconv(cd, &in, &inLeft, &out, &outLeft);
  const int error = r == static_cast<size_t>(-1) ? errno : 0;
  iconv_close(cd);
  return {error, std::string(buffer, static_cast<size_t>(out - buffer))};
}
char32_t SystemReads(std::string_view bytes) {
  auto [error, text] = Iconv("UTF-32LE", "CP932", bytes);
  if (error || text.size() != 4) return 0;
  return static_cast<unsigned char>(text[0]) | static_cast<unsigned char>(text[1]) << 8 |
         static_cast<unsigned char>(text[2]) << 16;
}
bool SystemLeadByte(unsigned char b) {
  return Iconv("UTF-8", "CP932", std::string(1, static_cast<char>(b))).first == EINVAL;
}
std::string SystemWrites(char32_t cp) {
  std::string ch;
  AppendUtf8(ch, cp);
  auto [error, bytes] = Iconv("CP932", "UTF-8", ch);
  return error ? "?" : bytes;
}
#endif

std::string Utf8(char32_t cp) {
  std::string text;
  AppendUtf8(text, cp);
  return text;
}
std::string Escape(unsigned char b) {
  std::string text;
  AppendCp932Byte(text, b);
  return text;
}

// Every byte, every byte after a lead byte and every code point of the Basic
// Multilingual Plane read and write as the system's converter has them.
TEST(Cp932, EveryCodeIsTheSystemConverters) {
  for (int b = 0; b < 0x100; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const char32_t cp = SystemReads(byte);
    EXPECT_EQ(test::FromSjis(byte), cp ? Utf8(cp) : Escape(static_cast<unsigned char>(b))) << "byte " << b;
    // A lead byte at the end of a piece waits for the next piece.
    std::string out;
    EXPECT_EQ(DecodeCp932Append(byte, out, false), SystemLeadByte(static_cast<unsigned char>(b)) ? 0u : 1u)
        << "byte " << b;
    if (!SystemLeadByte(static_cast<unsigned char>(b))) continue;
    for (int next = 0x40; next < 0x100; ++next) {
      const std::string pair = byte + static_cast<char>(next);
      const char32_t pairCp = SystemReads(pair);
      const std::string expected = pairCp ? Utf8(pairCp)
                                          : Escape(static_cast<unsigned char>(b)) + test::FromSjis(pair.substr(1));
      ASSERT_EQ(test::FromSjis(pair), expected) << "bytes " << b << " " << next;
    }
  }
  for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    ASSERT_EQ(test::Sjis(Utf8(cp)), SystemWrites(cp)) << "U+" << std::hex << static_cast<unsigned>(cp);
  }
  // Beyond the plane CP932 writes nothing.
  for (char32_t cp = 0x10000; cp <= 0x10FFFF; cp += 0x1001) EXPECT_EQ(test::Sjis(Utf8(cp)), "?");
}

// A broken character of the text (cut off, overlong, a surrogate, a stray
// byte) is one "?" that takes as many bytes as its first byte says.
TEST(Cp932, BrokenTextWritesOneQuestionMarkPerCharacter) {
  EXPECT_EQ(test::Sjis("\xe3\x81"
                       "A\xc0\xaf"
                       "B\xed\xa0\x80\x80\xed\xb0"
                       "C\xe3"),
            "??B????");
}

}  // namespace
}  // namespace k2v
