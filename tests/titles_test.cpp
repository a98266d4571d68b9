#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.hpp"
#include "titles/title_reader.hpp"
#include "titles/title_writer.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

// The lines of a file split at CR LF (the sheets end every line with it).
std::vector<std::string> SheetLines(const fs::path& path) {
  std::string bytes = test::ReadBytes(path);
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(bytes.substr(start, end - start));
  }
  EXPECT_EQ(start, bytes.size()) << path << " does not end with CR LF";
  return lines;
}

TEST(TitleReader, StoresTrimmedLinesWhateverEndsThemAndDeletesTheCopies) {
  test::TempDir dst;
  // CR LF, a lone CR and a lone LF each end a line; the last line has no end
  // and is one byte long.
  test::WriteBytes(dst / "titl01.txt", test::Sjis("  ABC  \r\n   \r調査 太郎\nB-1\r\n\r\n7"));
  test::WriteBytes(dst / "TITL03.TXT", test::Sjis("三行目\r\n"));
  TitleTable table;
  table[2][5] = "stale";
  ReadTitleFiles(table, dst.folder());

  EXPECT_EQ(table[1][1], "ABC");
  EXPECT_EQ(table[1][2], "");
  EXPECT_EQ(table[1][3], "調査 太郎");
  EXPECT_EQ(table[1][4], "B-1");
  EXPECT_EQ(table[1][5], "");
  EXPECT_EQ(table[1][6], "7");
  EXPECT_EQ(table[1][7], "");
  EXPECT_EQ(table[2][5], "") << "the table starts empty";
  EXPECT_EQ(table[3][1], "三行目");
  EXPECT_TRUE(fs::is_empty(dst.path()));
}

TEST(TitleReader, EmptyFileIsDeletedAndLeavesItsRowEmpty) {
  test::TempDir dst;
  test::WriteSjis(dst / "titl01.txt", "一\r\n");
  test::WriteBytes(dst / "titl02.txt", "");
  test::WriteSjis(dst / "titl03.txt", "三\r\n");
  TitleTable table;
  ReadTitleFiles(table, dst.folder());
  EXPECT_EQ(table[1][1], "一");
  for (size_t column = 0; column <= 50; ++column) EXPECT_EQ(table[2][column], "");
  EXPECT_EQ(table[3][1], "三");
  EXPECT_TRUE(fs::is_empty(dst.path()));
}

TEST(TitleReader, ReadsFiftyLinesAtMost) {
  test::TempDir dst;
  std::string content;
  for (int n = 1; n <= 60; ++n) content += std::to_string(n) + "\r\n";
  test::WriteBytes(dst / "titl02.txt", content);
  TitleTable table;
  ReadTitleFiles(table, dst.folder());
  EXPECT_EQ(table[2][1], "1");
  EXPECT_EQ(table[2][50], "50");
  EXPECT_FALSE(fs::exists(dst / "titl02.txt"));
}

TEST(TitleReader, NoTitleFilesLeavesTheTableEmptyAndTouchesNothing) {
  test::TempDir dst;
  test::WriteSjis(dst / "titl1.txt", "not a title copy\r\n");
  test::WriteSjis(dst / "titl04.txt", "not read\r\n");
  auto before = test::Snapshot(dst.path());
  TitleTable table;
  ReadTitleFiles(table, dst.folder());
  EXPECT_EQ(table, TitleTable{});
  EXPECT_EQ(test::Snapshot(dst.path()), before);
}

TEST(TitleSheets, EmptyTableStillGivesEveryLine) {
  test::TempDir dst;
  WriteTitleSheets(dst.folder(), TitleTable{});
  const std::string s60(60, ' '), s16(16, ' '), s24(24, ' ');
  // clang-format off
  EXPECT_EQ(SheetLines(dst / "Titl1.txt"),
            (std::vector<std::string>{s60, "", std::string(20, ' '), s60, s16, std::string(30, ' '), "", "     ", "",
                                      "", "", "", "", "", "", "    0.00", "", "    0.00", s16, s16, s16, s16, s24,
                                      s24, s24, ""}));
  // clang-format on
  EXPECT_EQ(SheetLines(dst / "Titl2.txt"),
            (std::vector<std::string>{std::string(50, ' '), "", std::string(40, ' '), std::string(12, ' '), "   ",
                                      "   ", "     ", "   ", "   ", "     ", "    0.00", "   0.00", "   0.00",
                                      "   0.00"}));
}

// One cell, the sheet and line it lands on, and the exact line (UTF-8 of the
// CP932 bytes expected).
struct CellCase {
  const char* name;
  size_t row, column;
  std::string value;
  const char* sheet;
  size_t line;
  std::vector<std::string> expected;  // this line and the ones after it
};

TEST(TitleSheets, CellsAreWrappedCutAndAlignedByTheirFormat) {
  const std::string a70(70, 'a');
  std::string k30;
  for (int i = 0; i < 30; ++i) k30 += "地";
  // clang-format off
  const std::vector<CellCase> cases = {
      {"70 single-byte characters at width 60", 1, 1, a70, "Titl1.txt", 1,
       {std::string(60, 'a'), std::string(10, 'a') + std::string(50, ' ')}},
      {"30 double-byte characters fill 60 bytes exactly", 1, 1, k30, "Titl1.txt", 1, {k30, ""}},
      {"a double-byte character one byte past the width", 2, 16, "ABCDEFG砂礫粘土質", "Titl1.txt", 21,
       {"ABCDEFG砂礫粘土 "}},
      {"12.3 in cell (2, 19)", 2, 19, "12.3", "Titl1.txt", 16, {"   12.30"}},
      {"123456.7 loses its first digit", 2, 19, "123456.7", "Titl1.txt", 16, {"23456.70"}},
      {"text that is no number", 2, 23, "GL-1.5", "Titl1.txt", 18, {"    0.00"}},
      {"15 characters keep their last 12", 1, 19, "ABCDEFGHIJKLMNO", "Titl2.txt", 4, {"DEFGHIJKLMNO"}},
      {"Text n counts characters, not bytes", 1, 13, "ＧＬ", "Titl2.txt", 7, {"   ＧＬ"}},
      {"7-character number field", 2, 25, "-0.125", "Titl2.txt", 12, {"  -0.13"}},
      {"as stored keeps inner spaces", 1, 6, "調査  太郎", "Titl1.txt", 11, {"調査  太郎"}},
  };
  // clang-format on
  for (const CellCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dst;
    TitleTable table;
    table[c.row][c.column] = c.value;
    WriteTitleSheets(dst.folder(), table);
    std::vector<std::string> lines = SheetLines(dst / c.sheet);
    ASSERT_EQ(lines.size(), std::string(c.sheet) == "Titl1.txt" ? 26u : 14u);
    for (size_t k = 0; k < c.expected.size(); ++k) EXPECT_EQ(lines[c.line - 1 + k], test::Sjis(c.expected[k]));
  }
}

TEST(TitleSheets, RowThreeIsNeverWritten) {
  test::TempDir withRow3, without;
  TitleTable table;
  table[1][1] = "工事名";
  WriteTitleSheets(without.folder(), table);
  for (size_t column = 1; column <= 50; ++column) table[3][column] = "X";
  WriteTitleSheets(withRow3.folder(), table);
  EXPECT_EQ(test::Snapshot(withRow3.path()), test::Snapshot(without.path()));
}

}  // namespace
}  // namespace k2v
