#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "io/record_reader.hpp"
#include "platform/files.hpp"
#include "test_support.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

// Reads every record of n fields; each record as its fields joined by "|".
std::vector<std::string> ReadAll(RecordReader& reader, int n) {
  std::vector<std::string> records;
  for (;;) {
    reader.ReadRecord(n);
    if (reader.RecordPos == RecordReader::kEnd) break;
    std::string joined;
    for (int k = 1; k <= n; ++k) joined += (k > 1 ? "|" : "") + reader.Fields[static_cast<size_t>(k)];
    records.push_back(joined);
  }
  return records;
}

std::vector<std::string> ReadBytesAsRecords(const std::string& bytes, int n) {
  RecordReader reader;
  reader.OpenItems(ItemStream(bytes));
  return ReadAll(reader, n);
}

using Records = std::vector<std::string>;

TEST(RecordReader, ReadsItemsAsAStream) {
  // Two records of three fields, with and without the final line end.
  EXPECT_EQ(ReadBytesAsRecords("1,A,B\r\n2,C,D\r\n", 3), (Records{"1|A|B", "2|C|D"}));
  EXPECT_EQ(ReadBytesAsRecords("1,A,B\r\n2,C,D", 3), (Records{"1|A|B", "2|C|D"}));
  // A line with more fields spills into the next record.
  EXPECT_EQ(ReadBytesAsRecords("A,B,C,D\r\nE,F\r\n", 3), (Records{"A|B|C", "D|E|F"}));
  // Quoted items keep their commas; anything after the closing quote is dropped.
  EXPECT_EQ(ReadBytesAsRecords("\"X,Y\",Z\r\n\"P\"junk,Q\r\n", 2), (Records{"X,Y|Z", "P|Q"}));
  // Leading and trailing spaces of an unquoted item are dropped; quoted ones keep them.
  EXPECT_EQ(ReadBytesAsRecords("  a  , \" b \"\r\n", 2), (Records{"a| b "}));
  // Two separators in a row give an empty item; a blank line is no item, so
  // the records after it keep their fields.
  EXPECT_EQ(ReadBytesAsRecords("A,,B\r\n\r\nC,D,E\r\n", 3), (Records{"A||B", "C|D|E"}));
  EXPECT_EQ(ReadBytesAsRecords("1,A\r\n\r\n  \r\n\n2,B\r\n3,C\r\n", 2), (Records{"1|A", "2|B", "3|C"}));
  EXPECT_EQ(ReadBytesAsRecords("1,A\r\n\r\nB\r\n", 3), (Records{"1|A|B"}));
  // An empty last item of a line is still an item.
  EXPECT_EQ(ReadBytesAsRecords("1,\r\n\r\n2,\r\n", 2), (Records{"1|", "2|"}));
}

TEST(RecordReader, EveryLineEndKindEndsAnItem) {
  EXPECT_EQ(ReadBytesAsRecords("1,A\r\n2,B\r\n", 2), (Records{"1|A", "2|B"}));
  EXPECT_EQ(ReadBytesAsRecords("1,A\n2,B\n", 2), (Records{"1|A", "2|B"}));
  EXPECT_EQ(ReadBytesAsRecords("1,A\r2,B\r", 2), (Records{"1|A", "2|B"}));
}

TEST(RecordReader, DecodesShiftJisItems) {
  std::string bytes = test::Sjis("1,3.50,x,砂混りシルト\r\n2,5.00,x,ｼﾙﾄ質砂\r\n");
  EXPECT_EQ(ReadBytesAsRecords(bytes, 4), (Records{"1|3.50|x|砂混りシルト", "2|5.00|x|ｼﾙﾄ質砂"}));
  // A description whose trail byte is 0x5C ("\") or 0x7C ("|") stays whole.
  EXPECT_EQ(ReadBytesAsRecords(test::Sjis("表土,ソ\r\n"), 2), (Records{"表土|ソ"}));
  // Broken bytes pass through unchanged.
  std::string broken =
      "A\x80"
      "B,\x82\r\n";
  auto records = ReadBytesAsRecords(broken, 2);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(test::Sjis(records[0]),
            "A\x80"
            "B|\x82");
}

TEST(RecordReader, ShortLastRecordGetsEmptyFieldsNotOldValues) {
  EXPECT_EQ(ReadBytesAsRecords("1,A,B\r\n2,C", 3), (Records{"1|A|B", "2|C|"}));
}

TEST(RecordReader, OneByteLastRecordIsReadAndBlankTailGivesNoRecord) {
  EXPECT_EQ(ReadBytesAsRecords("5\r\n7", 1), (Records{"5", "7"}));
  EXPECT_EQ(ReadBytesAsRecords("7", 1), (Records{"7"}));
  EXPECT_EQ(ReadBytesAsRecords("1,A\r\n\r\n\r\n  \r\n", 2), (Records{"1|A"}));
  EXPECT_EQ(ReadBytesAsRecords("\r\n", 1), Records{});
  // A DOS end-of-file mark after the last line is no record, and no field
  // of a short last record either.
  EXPECT_EQ(ReadBytesAsRecords("1,A\r\n\x1a", 2), (Records{"1|A"}));
  EXPECT_EQ(ReadBytesAsRecords("a\r\n\x1a", 2), (Records{"a|"}));
}

TEST(RecordReader, EndOfFileMarkLinesAreItemsBeforeTextAndNothingAfterIt) {
  // Lines holding only the mark, over several blocks: before a record each
  // one is an item like any text; after the last record they end the data.
  std::string marks;
  for (int k = 0; k < 50000; ++k) marks += "\x1a\r\n";
  Records expected{"1|A"};
  expected.insert(expected.end(), 25000, "\x1a|\x1a");
  expected.push_back("2|B");
  EXPECT_EQ(ReadBytesAsRecords("1,A\r\n" + marks + "2,B\r\n" + marks, 2), expected);
}

TEST(RecordReader, RejectsFieldCountsOutsideTheArray) {
  RecordReader reader;
  reader.OpenItems(ItemStream("1\r\n"));
  EXPECT_THROW(reader.ReadRecord(101), std::out_of_range);
  EXPECT_THROW(reader.ReadRecord(0), std::out_of_range);
  EXPECT_NO_THROW(reader.ReadRecord(100));
}

TEST(RecordReaderOpen, MissingOrEmptyFileIsNoDataAndIsNeitherCreatedNorDeleted) {
  test::TempDir dir;
  RecordReader reader;
  EXPECT_FALSE(reader.Open(dir.folder() + "X4.TXT"));
  EXPECT_FALSE(fs::exists(dir / "X4.TXT"));
  test::WriteBytes(dir / "X5.TXT", "");
  EXPECT_FALSE(reader.Open(dir.folder() + "X5.TXT"));
  EXPECT_TRUE(fs::exists(dir / "X5.TXT"));
  // Names match without regard to case.
  test::WriteBytes(dir / "x1.txt", "1,2,3,4\r\n");
  EXPECT_TRUE(reader.Open(dir.folder() + "X1.TXT"));
  reader.ReadRecord(4);
  EXPECT_EQ(reader.Fields[4], "4");
}

TEST(RecordReaderOpen, FileWithDataThatCannotBeReadIsAnError) {
#ifdef _WIN32
  GTEST_SKIP() << "needs fork and setuid to read as a user without rights";
#else
  test::TempDir dir;
  test::WriteBytes(dir / "X1.TXT", "1,2,3,4\r\n");
  fs::permissions(dir / "X1.TXT", fs::perms::none);
  // Root reads every file: the check runs in a child without privileges.
  pid_t pid = fork();
  if (pid == 0) {
    if (geteuid() == 0 && setuid(65534) != 0) _exit(2);
    RecordReader reader;
    try {
      reader.Open(dir.folder() + "X1.TXT");
    } catch (const FileError& e) {
      _exit(e.path() == dir.folder() + "X1.TXT" ? 0 : 3);
    }
    _exit(1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: read as no data, 2: could not drop privileges, 3: wrong path";
#endif
}

TEST(RecordReader, ReadsFilesLargerThanItsBlocksAsAWhole) {
  // Records cross the reader's blocks: a long Japanese field whose start is
  // all that is kept, a quoted one handed over in pieces, and a blank run of
  // several blocks between records, after which positions still count bytes.
  const std::string text = test::Sjis("砂混りシルト　");
  std::string longField;
  while (longField.size() < 3 * ItemStream::kBlockSize) longField += text;
  const std::string blanks = [] {
    std::string b;
    while (b.size() < 2 * ItemStream::kBlockSize) b += "  \r\n";
    return b;
  }();
  const std::string first = "a," + longField + "  ,\"" + longField + "\",b\r\n";
  const std::string bytes = first + blanks + "c,d,e,f\r\n";
  test::TempDir dir;
  test::WriteBytes(dir / "X.TXT", bytes);

  ReadOptions options;
  options.keepBytes = {{2, 10}};
  options.streamedField = 3;
  std::string streamed;
  std::vector<std::string> records;
  std::vector<std::int32_t> positions;
  options.onPiece = [&](const RecordReader& r, std::string_view piece) {
    EXPECT_EQ(r.Fields[1], records.empty() ? "a" : "c") << "the record's earlier fields are not there";
    streamed += piece;
  };
  ForEachRecord(
      dir.folder() + "X.TXT", 4, options, [] {},
      [&](const RecordReader& r) {
        records.push_back(r.Fields[1] + "|" + r.Fields[4]);
        positions.push_back(r.RecordPos);
        if (records.size() == 1) {
          const std::string whole = test::FromSjis(longField);
          EXPECT_GE(r.Fields[2].size(), 10u);
          EXPECT_EQ(whole.compare(0, r.Fields[2].size(), r.Fields[2]), 0) << "the kept part is not the field's start";
          EXPECT_TRUE(r.Fields[3].empty());
          EXPECT_EQ(streamed, whole);
        } else {
          EXPECT_EQ(streamed, "e");
        }
        streamed.clear();
      });
  EXPECT_EQ(records, (Records{"a|b", "c|f"}));
  EXPECT_EQ(positions, (std::vector<std::int32_t>{1, static_cast<std::int32_t>(first.size()) + 1}));
}

TEST(RecordReader, SpacesBeforeTheTextDoNotPushItOutOfTheKeptStart) {
  // A quoted remark and a title line whose text stands after more spaces
  // than a block holds: the text is kept, and only about keepBytes of the
  // spaces before it.
  const std::string spaces(3 * ItemStream::kBlockSize, ' ');
  const std::string text = test::Sjis("砂礫質シルト混り粘土層");
  test::TempDir dir;
  test::WriteBytes(dir / "R72.TXT", "1,\"" + spaces + text + "\",x\r\n");
  ReadOptions options;
  options.keepBytes = {{2, 20}};
  std::vector<std::string> remarks;
  ForEachRecord(
      dir.folder() + "R72.TXT", 3, options, [] {},
      [&](const RecordReader& r) {
        EXPECT_LE(r.Fields[2].size(), 20u + test::FromSjis(text).size());
        remarks.push_back(std::string(TrimLeftView(r.Fields[2])) + "|" + r.Fields[3]);
      });
  EXPECT_EQ(remarks, (Records{"砂礫質シルト混り粘土層|x"}));

  test::WriteBytes(dir / "titl01.txt", spaces + text + "\r\n" + spaces + "\r\nB-1\r\n");
  ItemStream lines = ItemStream::OfFile(dir.folder() + "titl01.txt");
  std::string line;
  Records kept;
  while (!lines.Exhausted()) {
    lines.NextLineInto(line, 20);
    EXPECT_LE(line.size(), 20u + test::FromSjis(text).size());
    kept.push_back(Trim(line));
  }
  EXPECT_EQ(kept, (Records{"砂礫質シルト混り粘土層", "", "B-1"}));
}

TEST(ItemStream, ReadsWholeLinesForSettingsFiles) {
  ItemStream lf(test::Sjis("[RADUDI]\n\"C:\\RADUDI\\\" ,x\n"));
  EXPECT_EQ(lf.NextLine(), "[RADUDI]");
  EXPECT_EQ(lf.NextItem(), "C:\\RADUDI\\");
}

}  // namespace
}  // namespace k2v
