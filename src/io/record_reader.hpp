#pragma once
// The reader of Kolbrix's comma-separated files. Items are read as a stream:
// a comma or a line end (CR LF, CR or LF) ends an item, spaces before an item
// are skipped, a quoted item keeps its commas. A record is simply the next n
// items, wherever they stand.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace k2v {

// Items of CP932 bytes, one after the other.
class ItemStream {
 public:
  ItemStream() = default;
  explicit ItemStream(std::string bytes);

  // True when nothing but CR, LF, spaces and end-of-file marks (0x1A) is
  // left unread.
  bool AtEnd() const;
  // True when no byte at all is left.
  bool Exhausted() const { return pos_ >= bytes_.size(); }
  // The next item as program text; the empty text past the end.
  std::string NextItem();
  // Leaves nothing unread (no item follows a comma any more).
  void SkipToEnd() {
    pos_ = bytes_.size();
    afterComma_ = false;
  }
  // At the start of a line, skips the lines that hold nothing but spaces.
  void SkipBlankLines();
  // The rest of the current line as program text, and the line end.
  std::string NextLine();
  // Byte position of the next unread byte, counted from 1.
  std::int64_t Position() const { return static_cast<std::int64_t>(pos_) + 1; }
  // True when the last item read ended at a comma (another item follows on
  // its line, possibly empty).
  bool AfterComma() const { return afterComma_; }

 private:
  void SkipLineEnd();
  std::string bytes_;
  size_t pos_ = 0;
  bool afterComma_ = false;
  // The first byte at or after pos_ that is not blank (see AtEnd).
  mutable size_t dataAt_ = std::string::npos;
};

// The shared field array and record positions of the converters.
class RecordReader {
 public:
  static constexpr int kMaxFields = 100;
  static constexpr int kMaxSlots = 20;
  static constexpr std::int32_t kEnd = -999;

  // destinationFolder: the only folder in which an empty file is deleted.
  explicit RecordReader(std::string destinationFolder);

  // Opens the file for reading. Returns isEmpty: true when the file is
  // missing or empty; an empty file is deleted only when it lies in the
  // destination folder. No file is ever created. A file with data that cannot
  // be read throws FileError.
  bool OpenOrDropEmpty(const std::string& path);
  // Reads n items into Fields[1..n] and sets RecordPos[slot] to the record's
  // byte position, or kEnd when no record is left. Fields missing at the end
  // of the data are empty. n above 100 or slot above 20 throws
  // std::out_of_range.
  void ReadRecord(int n, int slot);
  void Close();

  std::array<std::string, kMaxFields + 1> Fields;
  // True when the data held all n items of the record just read (false when
  // it ended in the middle of the record and the missing fields are empty).
  bool RecordComplete = false;
  std::array<std::int32_t, kMaxSlots + 1> RecordPos{};

 private:
  std::string destinationFolder_;
  ItemStream stream_;
  bool open_ = false;
};

// The reading loop of every export file: calls onRecord with the reader
// after each record of fieldCount fields, in file order. Returns false, and
// calls nothing, when the file is missing or empty; an empty file is deleted
// when it lies in dropEmptyIn (the destination folder; "" deletes nothing).
// A file with data that cannot be read throws FileError.
bool ForEachRecord(const std::string& path, int fieldCount, const std::string& dropEmptyIn,
                   const std::function<void(const RecordReader&)>& onRecord);
// The same; onData runs once when the file has data, after it was read and
// before the first record (where a converter creates its outputs, so that an
// unreadable source leaves them as they were).
bool ForEachRecord(const std::string& path, int fieldCount, const std::string& dropEmptyIn,
                   const std::function<void()>& onData, const std::function<void(const RecordReader&)>& onRecord);

// True when path names a file directly inside folder (folder ends with a
// separator or not).
bool LiesInFolder(const std::string& path, const std::string& folder);

}  // namespace k2v
