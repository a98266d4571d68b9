#pragma once
// Records of Kolbrix's comma-separated files: a record is simply the next n
// items of the file (item_stream.hpp), wherever they stand. The reader only
// reads: what becomes of an empty file is for the stage that opens it.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "io/item_stream.hpp"

namespace k2v {

// How a converter wants a file's fields kept.
struct ReadOptions {
  // Fields whose output takes only their start: field number, and how many
  // bytes of it are kept.
  std::vector<std::pair<int, size_t>> keepBytes;
  // A field whose whole text the output takes, however long: handed to
  // onPiece piece by piece (the reader holding the record's earlier fields)
  // instead of being kept in Fields. 0 for none.
  int streamedField = 0;
  std::function<void(const RecordReader& reader, std::string_view piece)> onPiece;
};

// The shared field array and record positions of the converters.
class RecordReader {
 public:
  static constexpr int kMaxFields = 100;
  static constexpr std::int32_t kEnd = -999;

  explicit RecordReader(ReadOptions options = {});

  // Opens the file for reading. Returns false when the file is missing or
  // empty; nothing is created, changed or deleted. A file with data that
  // cannot be read throws FileError.
  bool Open(const std::string& path);
  // Reads the records of the items (bytes in memory) instead of a file's.
  void OpenItems(ItemStream items);
  // Reads n items into Fields[1..n] and sets RecordPos to the record's byte
  // position, or kEnd when no record is left. Fields missing at the end of
  // the data are empty. n outside 1 to 100 throws std::out_of_range.
  void ReadRecord(int n);
  void Close();

  std::array<std::string, kMaxFields + 1> Fields;
  // True when the data held all n items of the record just read (false when
  // it ended in the middle of the record and the missing fields are empty).
  bool RecordComplete = false;
  std::int32_t RecordPos = 0;

 private:
  ReadOptions options_;
  std::array<size_t, kMaxFields + 1> keepBytes_;
  std::function<void(std::string_view)> streamedPiece_;
  ItemStream stream_;
  bool open_ = false;
};

// The reading loop of every export file: calls onRecord with the reader
// after each record of fieldCount fields, in file order. Returns false, and
// calls nothing, when the file is missing or empty. A file with data that
// cannot be read throws FileError.
bool ForEachRecord(const std::string& path, int fieldCount, const std::function<void(const RecordReader&)>& onRecord);
// The same; onData runs once when the file has data, after it was opened and
// before the first record (where a converter creates its outputs, so that an
// unreadable source leaves them as they were).
bool ForEachRecord(const std::string& path, int fieldCount, const std::function<void()>& onData,
                   const std::function<void(const RecordReader&)>& onRecord);
// The same, with the fields kept as options say.
bool ForEachRecord(const std::string& path, int fieldCount, const ReadOptions& options,
                   const std::function<void()>& onData, const std::function<void(const RecordReader&)>& onRecord);
// The same loop over bytes held in memory (a file read whole).
void ForEachRecordInBytes(std::string bytes, int fieldCount, const std::function<void(const RecordReader&)>& onRecord);

}  // namespace k2v
