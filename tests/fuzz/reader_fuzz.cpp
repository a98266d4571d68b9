// The record reader over arbitrary bytes, in memory (no file system):
// ItemStream item by item and line by line, RecordReader with mixed field
// counts and with the field counts the converters use. Besides not crashing
// or hanging:
//  - every read of a stream with bytes left moves it on, and skipping blank
//    lines skips nothing else;
//  - the lines are those of SplitLines over the decoded file;
//  - records of n fields hold exactly the items of the file (blank lines are
//    no items), in order, the last record filled up with empty fields, and
//    only that one incomplete;
//  - record positions grow and lie inside the file;
//  - bad field counts throw std::out_of_range.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "io/record_reader.hpp"
#include "test_support_core.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

using k2v::test::Check;
using k2v::test::Escaped;

namespace {

struct ItemModel {
  // The items a reader sees, one after the other, until nothing but blanks is left.
  std::vector<std::string> items;
  // How many of them a record counts as there: one more than items when the
  // last ends at a comma (the empty last item of "a,b,").
  size_t present = 0;
};

ItemModel ReadItems(const std::string& bytes) {
  ItemModel model;
  k2v::ItemStream stream(bytes);
  for (;;) {
    // A blank line is no item (SkipBlankLines does nothing but at a line's start).
    stream.SkipBlankLines();
    if (stream.AtEnd()) break;
    const std::int64_t before = stream.Position();
    model.items.push_back(stream.NextItem());
    Check(stream.Position() > before, "NextItem did not move on at byte " + std::to_string(before));
  }
  model.present = model.items.size() + ((!model.items.empty() && stream.AfterComma()) ? 1 : 0);
  return model;
}

// The lines of a text as a plain reading gives them: CR LF, a lone CR and a
// lone LF each end a line; a final line without an end is a line too.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size();) {
    if (text[i] != '\r' && text[i] != '\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

void CheckLines(const std::string& bytes) {
  k2v::ItemStream stream(bytes);
  std::vector<std::string> lines;
  while (!stream.Exhausted()) {
    const std::int64_t before = stream.Position();
    lines.push_back(stream.NextLine());
    Check(stream.Position() > before, "NextLine did not move on at byte " + std::to_string(before));
  }
  Check(stream.AtEnd(), "an exhausted stream is not at its end");
  Check(stream.NextLine().empty() && stream.NextItem().empty(), "a read past the end gave text");
  const std::vector<std::string> expected = SplitLines(k2v::test::FromSjis(bytes));
  Check(lines == expected,
        "NextLine gave " + std::to_string(lines.size()) + " lines, SplitLines " + std::to_string(expected.size()));
}

// Read a few bytes at a time, the stream gives the same items at the same
// positions, and the same lines, as read in one block.
void CheckBlocks(const std::string& bytes) {
  const size_t block = bytes.empty() ? 1 : 1 + static_cast<unsigned char>(bytes[0]) % 7;
  auto items = [&](size_t blockSize) {
    std::vector<std::pair<std::string, std::int64_t>> read;
    k2v::ItemStream stream(bytes, blockSize);
    for (;;) {
      stream.SkipBlankLines();
      if (stream.AtEnd()) break;
      const std::int64_t at = stream.Position();
      read.emplace_back(stream.NextItem(), at);
    }
    return read;
  };
  Check(items(block) == items(bytes.size() + 1), "items read in blocks of " + std::to_string(block) + " bytes differ");
  auto lines = [&](size_t blockSize) {
    std::vector<std::string> read;
    k2v::ItemStream stream(bytes, blockSize);
    while (!stream.Exhausted()) read.push_back(stream.NextLine());
    return read;
  };
  Check(lines(block) == lines(bytes.size() + 1), "lines read in blocks of " + std::to_string(block) + " bytes differ");
}

// Items and lines mixed as the input's own bytes choose.
void CheckMixedReads(const std::string& bytes) {
  k2v::ItemStream stream(bytes);
  size_t k = 0;
  while (!stream.Exhausted()) {
    const std::int64_t before = stream.Position();
    const unsigned choice = static_cast<unsigned char>(bytes[k++ % bytes.size()]) % 3;
    if (choice == 2) {
      // Skips only spaces and line ends, whole lines of them, and only at the start of a line.
      stream.SkipBlankLines();
      const auto from = static_cast<size_t>(before - 1);
      const auto to = static_cast<size_t>(stream.Position() - 1);
      if (to == from) {
        // Nothing to skip here: read an item instead, so that the loop moves on.
        stream.NextItem();
        Check(stream.Position() > before, "NextItem did not move on in mixed reads");
        continue;
      }
      Check(from == 0 || bytes[from - 1] == '\r' || bytes[from - 1] == '\n', "SkipBlankLines moved inside a line");
      for (size_t i = from; i < to; ++i) {
        Check(bytes[i] == ' ' || bytes[i] == '\r' || bytes[i] == '\n',
              "SkipBlankLines skipped data at byte " + std::to_string(i + 1));
      }
      Check(bytes[to - 1] == '\r' || bytes[to - 1] == '\n', "SkipBlankLines stopped inside a line");
      continue;
    }
    if (choice == 1) {
      stream.NextLine();
    } else {
      stream.NextItem();
    }
    Check(stream.Position() > before,
          std::string(choice == 1 ? "NextLine" : "NextItem") + " did not move on in mixed reads");
  }
}

struct ReadRecords {
  std::vector<std::string> fields;  // all records, one after the other
  std::vector<size_t> recordSizes;
  std::vector<bool> complete;
  std::vector<std::int32_t> positions;

  void Add(const k2v::RecordReader& reader, int n) {
    for (int k = 1; k <= n; ++k) fields.push_back(reader.Fields[static_cast<size_t>(k)]);
    recordSizes.push_back(static_cast<size_t>(n));
    complete.push_back(reader.RecordComplete);
    positions.push_back(reader.RecordPos);
  }
};

void CheckRecords(const ItemModel& model, const ReadRecords& read, size_t fileSize, const std::string& what) {
  const std::vector<std::string>& items = model.items;
  Check(read.fields.size() >= items.size(), what + ": records hold fewer fields than the file has items");
  for (size_t j = 0; j < read.fields.size(); ++j) {
    if (j < items.size()) {
      Check(read.fields[j] == items[j], what + ": field " + std::to_string(j + 1) + " is " + Escaped(read.fields[j]) +
                                            ", the item there is " + Escaped(items[j]));
    } else {
      Check(read.fields[j].empty(), what + ": field " + std::to_string(j + 1) +
                                        " lies past the end of the data but is " + Escaped(read.fields[j]) +
                                        ", not empty");
    }
  }
  size_t start = 0;
  for (size_t r = 0; r < read.recordSizes.size(); ++r) {
    const size_t n = read.recordSizes[r];
    // Every record starts with an item of the file: no record is made of filling alone.
    Check(start < items.size(), what + ": record " + std::to_string(r + 1) + " starts past the data");
    const bool expectComplete = start + n <= model.present;
    Check(read.complete[r] == expectComplete,
          what + ": record " + std::to_string(r + 1) + " has RecordComplete " + (read.complete[r] ? "true" : "false"));
    Check(read.positions[r] >= 1 && static_cast<size_t>(read.positions[r]) <= fileSize,
          what + ": record position outside the file");
    if (r > 0) Check(read.positions[r] > read.positions[r - 1], what + ": record positions do not grow");
    start += n;
  }
  Check(start >= items.size(), what + ": the records stop before the data ends");
}

// The records of n fields, as ForEachRecord reads them from a file, read
// from the bytes in blocks of blockSize.
void CheckRecordsOf(const std::string& bytes, const ItemModel& model, int n, size_t blockSize) {
  k2v::RecordReader reader;
  reader.OpenItems(k2v::ItemStream(bytes, blockSize));
  ReadRecords read;
  for (;;) {
    reader.ReadRecord(n);
    if (reader.RecordPos == k2v::RecordReader::kEnd) break;
    read.Add(reader, n);
  }
  CheckRecords(model, read, bytes.size(),
               "records of " + std::to_string(n) + " fields in blocks of " + std::to_string(blockSize) + " bytes");
}

// Field counts taken from the input itself, record after record.
void CheckMixedRecords(const std::string& bytes, const ItemModel& model) {
  k2v::RecordReader reader;
  reader.OpenItems(k2v::ItemStream(bytes));
  ReadRecords read;
  for (size_t k = 0;; ++k) {
    const auto b = bytes.empty() ? 0u : static_cast<unsigned char>(bytes[(k * 7) % bytes.size()]);
    const int n = static_cast<int>(b % k2v::RecordReader::kMaxFields) + 1;
    reader.ReadRecord(n);
    if (reader.RecordPos == k2v::RecordReader::kEnd) {
      reader.ReadRecord(1);
      Check(reader.RecordPos == k2v::RecordReader::kEnd, "a record after the end");
      break;
    }
    read.Add(reader, n);
    Check(k <= bytes.size(), "more records than bytes");
  }
  CheckRecords(model, read, bytes.size(), "RecordReader with mixed field counts");

  for (int n : {0, 101, -1}) {
    bool threw = false;
    try {
      reader.ReadRecord(n);
    } catch (const std::out_of_range&) {
      threw = true;
    }
    Check(threw, "ReadRecord(" + std::to_string(n) + ") did not throw out_of_range");
  }
  reader.Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const ItemModel model = ReadItems(bytes);
  CheckLines(bytes);
  CheckBlocks(bytes);
  if (!bytes.empty()) CheckMixedReads(bytes);

  const size_t block = bytes.empty() ? 1 : 1 + static_cast<unsigned char>(bytes[bytes.size() - 1]) % 11;
  for (int n : {1, 2, 3, 4, 5, 7, 11, 68, 100}) CheckRecordsOf(bytes, model, n, k2v::ItemStream::kBlockSize);
  CheckRecordsOf(bytes, model, 4, block);
  CheckMixedRecords(bytes, model);
  return 0;
}
