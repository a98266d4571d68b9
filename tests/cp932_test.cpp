#include <gtest/gtest.h>

#include "text/cp932.hpp"
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

}  // namespace
}  // namespace k2v
