#include <gtest/gtest.h>

#include "test_support.hpp"
#include "text/columns.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

std::string Laid(ColumnFormat format, int width, std::string_view value) {
  return ColumnText(Column{1, format, width}, value);
}

TEST(SjisCuts, MeasureAndCutByBytes) {
  EXPECT_EQ(SjisLen("ABC"), 3);
  EXPECT_EQ(SjisLen("砂礫土"), 6);
  EXPECT_EQ(SjisMid("ABCDEF", 2, 3), "BCD");
  EXPECT_EQ(SjisMid("ABC", 5, 2), "");
  EXPECT_EQ(SjisMid("ABC", 2, 10), "BC");
  EXPECT_EQ(SjisMid("砂A礫", 3, 3), "A礫");
}

TEST(SjisCuts, CutThroughDoubleByteCharacterKeepsTheCutBytes) {
  // 砂 is 0x8D 0xBB; cut after its lead byte.
  std::string left = SjisMid("A砂", 1, 2);
  EXPECT_EQ(SjisLen(left), 2);
  EXPECT_EQ(test::Sjis(left), "A\x8d");
  std::string right = SjisMid("砂A", 2, 2);
  EXPECT_EQ(test::Sjis(right),
            "\xbb"
            "A");
  // A kept trail byte that is also a lead byte is never paired with its
  // neighbour: 0xED 0x40 is a valid character, but these bytes were cut.
  std::string text = test::FromSjis("\x88\xed\x40");  // 芒 (0x88 0xED) then @
  ASSERT_EQ(SjisLen(text), 3);
  std::string cut = SjisMid(text, 2, 2);
  EXPECT_EQ(test::Sjis(cut), "\xed\x40");
  EXPECT_EQ(CharCount(cut), 2);
  // Fixed-width idioms keep the column count.
  EXPECT_EQ(SjisLen(Laid(ColumnFormat::LeftBytes, 5, "砂砂砂")), 5);
  EXPECT_EQ(SjisLen(Laid(ColumnFormat::RightBytes, 5, "砂砂砂")), 5);
}

TEST(SjisCuts, EveryDoubleByteCharacterCutAtEitherEdgeWritesTheBytesCut) {
  // Each valid double-byte character between two ASCII letters, cut through
  // with each helper: the bytes written are exactly the bytes cut, for trail
  // bytes below 0x80 (0x52 of "コ" is "R") as well as above.
  int checked = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const std::string ch = test::FromSjis(std::string{static_cast<char>(lead), static_cast<char>(trail)});
      if (CharCount(ch) != 1 || SjisLen(ch) != 2) continue;  // not a character of CP932
      ++checked;
      SCOPED_TRACE(::testing::Message() << std::hex << lead << " " << trail);
      const std::string text = "A" + ch + "B";
      // The bytes the program writes for it (a duplicate code comes out in
      // the system's code, so these may differ from lead and trail).
      const std::string pair = test::Sjis(ch);
      ASSERT_EQ(pair.size(), 2u);
      const std::string l(1, pair[0]);
      const std::string t(1, pair[1]);
      ASSERT_EQ(SjisLen(text), 4);
      EXPECT_EQ(test::Sjis(SjisMid(text, 1, 2)), "A" + l);
      EXPECT_EQ(test::Sjis(SjisMid(text, 3, 2)), t + "B");
      EXPECT_EQ(test::Sjis(SjisMid(text, 3, 2)), t + "B");
      EXPECT_EQ(test::Sjis(SjisMid(text, 2, 1)), l);
      EXPECT_EQ(test::Sjis(SjisMid(text, 3, 1)), t);
      EXPECT_EQ(SjisLen(SjisMid(text, 3, 2)), 2);
      EXPECT_EQ(SjisLen(SjisMid(text, 3, 1)), 1);
      EXPECT_EQ(test::Sjis(Laid(ColumnFormat::RightBytes, 2, text)), t + "B");
      EXPECT_EQ(test::Sjis(Laid(ColumnFormat::LeftBytes, 2, text)), "A" + l);
      // A cut piece put back together with its other half writes the pair.
      EXPECT_EQ(test::Sjis(SjisMid(text, 1, 2) + SjisMid(text, 3, 2)), "A" + pair + "B");
    }
  }
  EXPECT_GT(checked, 7000);
}

TEST(SjisCuts, RightCutOfKoaNashiKeepsTheTrailByte) {
  // コア無し: the last 7 of its 8 bytes start with the trail byte 0x52.
  EXPECT_EQ(test::Sjis(Laid(ColumnFormat::RightBytes, 7, "コア無し")), "\x52" + test::Sjis("ア無し"));
}

TEST(WrapToWidth, CutsByBytesAndPads) {
  std::string seventy(70, 'x');
  auto lines = WrapToWidth(seventy, 60);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(60, 'x'));
  EXPECT_EQ(lines[1], std::string(10, 'x') + std::string(50, ' '));

  lines = WrapToWidth("abcdefg砂礫粘土層", 16);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "abcdefg砂礫粘土 ");
  EXPECT_EQ(lines[1], "層" + std::string(14, ' '));

  lines = WrapToWidth("  ABC", 5);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "ABC  ");

  lines = WrapToWidth("", 30);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], std::string(30, ' '));
  EXPECT_EQ(WrappedLine("", 30, 2), "");

  // No line limit: 150 lines of 30 bytes.
  EXPECT_EQ(WrapToWidth(std::string(4500, 'a'), 30).size(), 150u);
}

TEST(DisplayColumns, HalfWidthTakesOneColumnAndEveryOtherCharacterTwo) {
  EXPECT_EQ(DisplayColumns("B-1 ｼﾙﾄ"), 7);
  EXPECT_EQ(DisplayColumns("砂質シルト"), 10);
  // Characters CP932 does not have.
  EXPECT_EQ(DisplayColumns("é😀"), 4);
}

TEST(Splitters, SplitAndSplitAtFirst) {
  auto pieces = SplitByDelimiter("C:\\", "\\");
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], "C:");
  EXPECT_EQ(pieces[1], "");
  pieces = SplitByDelimiter("/GB/K001/S01/B02/", "/");
  EXPECT_EQ(pieces, (std::vector<std::string>{"", "GB", "K001", "S01", "B02", ""}));
  // A full-width character is never a separator, whatever its bytes; a byte
  // that is no part of a character does not hide the separator after it.
  EXPECT_EQ(SplitByDelimiter("C:\\表\\", "\\").size(), 3u);
  EXPECT_EQ(SplitByDelimiter("/GB/K0\xE3/S01", "/"), (std::vector<std::string>{"", "GB", "K0\xE3", "S01"}));

  auto r = SplitAtFirst("AB:CD", ":");
  EXPECT_EQ(r.position, 3);
  EXPECT_EQ(r.before, "AB");
  EXPECT_EQ(r.after, "CD");
  r = SplitAtFirst("AB:CD", "/");
  EXPECT_EQ(r.position, 0);
  EXPECT_EQ(r.before, "");
  EXPECT_EQ(r.after, "");
  r = SplitAtFirst("砂と粘土の互層", "互層");
  EXPECT_EQ(r.position, 6);
  EXPECT_EQ(r.before, "砂と粘土の");
}

TEST(Trims, RemoveHalfWidthSpacesOnly) {
  EXPECT_EQ(Trim("  ABC  "), "ABC");
  EXPECT_EQ(Trim("　ABC　"), "　ABC　");
  EXPECT_EQ(TrimLeftView("  A "), "A ");
  EXPECT_EQ(TrimRightView("  A "), "  A");
}

}  // namespace
}  // namespace k2v
