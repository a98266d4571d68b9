#include <gtest/gtest.h>

#include "text/cp932.hpp"
#include "text/cp932_backend.hpp"
#include "text/sjis_text.hpp"
#include "test_support.hpp"

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
  EXPECT_EQ(EncodeCp932(DecodeCp932(all)), all);
}

TEST(Cp932, DecodingInPiecesGivesTheSameTextAtEveryCut) {
  // Bytes read in blocks: a character cut by the block's end waits for the
  // next block, and a broken byte stays broken wherever the cut falls.
  const std::string bytes = test::Sjis("砂混り　シルト") + "\x81\xff\x82\xa0\xa0\x81";
  const std::string whole = DecodeCp932(bytes);
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    std::string out;
    size_t used = DecodeCp932Append(std::string_view(bytes).substr(0, cut), out, false);
    DecodeCp932Append(std::string_view(bytes).substr(used), out);
    EXPECT_EQ(out, whole) << "cut at " << cut;
  }
}

TEST(Cp932, DuplicateExtensionCodesComeOutInTheSystemsCode) {
  // NEC-selected IBM extensions (0xED/0xEE) are written as the IBM codes.
  EXPECT_EQ(EncodeCp932(DecodeCp932("\xed\x40")), "\xfa\x5c");
}

TEST(Cp932, DecodesJapaneseAndEscapesBrokenBytes) {
  EXPECT_EQ(DecodeCp932(test::Sjis("砂混りシルト")), "砂混りシルト");
  EXPECT_EQ(DecodeCp932("\x82\xa0"), "あ");
  // A lone 0x80 becomes U+DC80 and measures one byte.
  std::string lone = DecodeCp932("A\x80" "B");
  EXPECT_EQ(lone, "A\xed\xb2\x80" "B");
  EXPECT_EQ(SjisLen(lone), 3);
  // Half-width katakana are one byte each.
  EXPECT_EQ(SjisLen("ﾌｫﾙﾀﾞ"), 5);
}

TEST(Cp932, UnwritableCharacterBecomesQuestionMark) {
  EXPECT_EQ(EncodeCp932("a\xF0\x9F\x98\x80" "b"), "a?b");  // an emoji
  EXPECT_EQ(EncodeCp932("Ä"), "?");
}

// The characters on which the two systems' code pages differ give the same
// bytes on both: those glibc writes are written, those only Windows writes
// are not, and the single bytes Windows reads as characters stay bytes.
TEST(Cp932, CharactersOnWhichTheSystemsDifferGiveTheSameBytes) {
  struct Case {
    const char* text;
    const char* bytes;
  } cases[] = {
      {"¢", "\x81\x91"}, {"£", "\x81\x92"}, {"¥", "\x5c"},     {"¬", "\x81\xca"}, {"—", "\x81\x5c"},
      {"‖", "\x81\x61"}, {"‾", "\x7e"},     {"−", "\x81\x7c"}, {"〜", "\x81\x60"}, {"\xc2\x80", "?"},
      {"\xef\xa3\xb0", "?"}, {"\xef\xa3\xb1", "?"}, {"\xef\xa3\xb2", "?"}, {"\xef\xa3\xb3", "?"},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodeCp932(c.text), c.bytes) << c.text;
  EXPECT_EQ(DecodeCp932("\x80\xa0\xfd\xfe\xff"), "\xed\xb2\x80\xed\xb2\xa0\xed\xb3\xbd\xed\xb3\xbe\xed\xb3\xbf");
}

// Characters are read and written one at a time from what the system's
// converter gave for each the first time: every double-byte code, valid or
// not, in one run (where a byte kept on its own makes the next one a lead
// byte), and the characters they give with others of the Basic Multilingual
// Plane, give what the converter gives for the whole run.
TEST(Cp932, CharacterByCharacterGivesWhatTheConverterGivesForTheWholeRun) {
  std::string bytes;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = 0x40; trail <= 0xFF; ++trail) {
      bytes += static_cast<char>(lead);
      bytes += static_cast<char>(trail);
    }
  }
  std::string expected;
  cp932_backend::DecodeRun(bytes, expected);
  EXPECT_EQ(DecodeCp932(bytes), expected);
  // Cut into pieces, a lead byte at a piece's end waits for its next byte.
  std::string pieces;
  size_t used = 0;
  for (size_t cut = 7; cut < bytes.size(); cut += 7) {
    used += DecodeCp932Append(std::string_view(bytes).substr(used, cut - used), pieces, false);
  }
  DecodeCp932Append(std::string_view(bytes).substr(used), pieces);
  EXPECT_EQ(pieces, expected);

  // Every character CP932 has (no escapes: those are no characters), and
  // others between them; the converter is given no ASCII (a pair whose
  // second byte is no trail byte reads as a character and an ASCII byte).
  std::string text;
  for (size_t k = 0; k < bytes.size(); k += 2) {
    const std::string ch = DecodeCp932(bytes.substr(k, 2));
    if (ch.find('\xed') != std::string::npos) continue;
    for (char c : ch) {
      if (static_cast<unsigned char>(c) >= 0x80) text += c;
    }
  }
  for (char32_t cp = 0x80; cp <= 0xFFFF; cp += 97) {
    if (cp < 0xD800 || cp > 0xDFFF) AppendUtf8(text, cp);
  }
  text += "\xe3\x81\xf0\x9f\x98\x80\xc0\xaf\xed\xa0\x80\xe3";  // broken, outside the plane, overlong, surrogate, cut off
  std::string written;
  cp932_backend::EncodeRun(text, written);
  EXPECT_EQ(EncodeCp932(text), written);
}

}  // namespace
}  // namespace k2v
