#pragma once
// The reader of Kolbrix's comma-separated files. Items are read as a stream:
// a comma or a line end (CR LF, CR or LF) ends an item, spaces before an item
// are skipped, a quoted item keeps its commas. A record is simply the next n
// items, wherever they stand. Files are read in blocks: a file, a line or an
// item of any size is read in the memory of a few blocks.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace k2v {

class FileReader;
class RecordReader;

// Items of CP932 bytes, one after the other.
class ItemStream {
 public:
  static constexpr size_t kBlockSize = 1 << 16;

  ItemStream();
  // The bytes in memory; blockSize is how many of them are taken at a time
  // (the tests take a few, so that every item crosses a block's end).
  explicit ItemStream(std::string bytes, size_t blockSize = kBlockSize);
  // The file, read block by block; throws FileError.
  static ItemStream OfFile(const std::string& path);
  ItemStream(ItemStream&&) noexcept;
  ItemStream& operator=(ItemStream&&) noexcept;
  ~ItemStream();

  // True when nothing but CR, LF, spaces and end-of-file marks (0x1A) is
  // left unread.
  bool AtEnd();
  // True when no byte at all is left.
  bool Exhausted();
  // The next item as program text; the empty text past the end.
  std::string NextItem();
  // The next item into out. Only about the first keepBytes bytes of it are
  // kept (at least that many, when it has them); the rest is passed over.
  // Spaces before its text do not count: at most keepBytes of them are kept,
  // then about keepBytes bytes of the text.
  void NextItemInto(std::string& out, size_t keepBytes = std::string::npos);
  // The next item handed to onPiece piece by piece, however long it is.
  void NextItemTo(const std::function<void(std::string_view)>& onPiece);
  // Leaves nothing unread (no item follows a comma any more).
  void SkipToEnd();
  // At the start of a line, skips the lines that hold nothing but spaces.
  void SkipBlankLines();
  // The rest of the current line as program text, and the line end.
  std::string NextLine();
  // The same into out, keeping about the first keepBytes bytes of the line
  // (its leading spaces counted as NextItemInto counts them).
  void NextLineInto(std::string& out, size_t keepBytes = std::string::npos);
  // Byte position of the next unread byte, counted from 1.
  std::int64_t Position() const;
  // True when the last item read ended at a comma (another item follows on
  // its line, possibly empty).
  bool AfterComma() const { return afterComma_; }

  // Where the bytes of an item or a line go.
  class Sink;

 private:
  friend class RecordReader;
  explicit ItemStream(std::unique_ptr<FileReader> file);
  bool Fill();
  bool Have(size_t k);
  void Compact();
  size_t CollapseBlankLines(size_t k);
  void SkipLineEnd();
  // Reads, as NextItemInto does, an item that begins at the next byte (no
  // space, line end or end-of-file mark stands before it) and ends inside
  // the bytes taken so far, straight from them, and returns true; else
  // reads nothing and returns false.
  bool NextItemIfTaken(std::string& out, size_t keepBytes);
  bool NextQuotedItemIfTaken(std::string& out, size_t keepBytes);
  void FinishItemAt(size_t end);
  void SkipSpaces();
  void ReadItem(Sink& sink);
  void ReadLine(Sink& sink);

  std::unique_ptr<FileReader> file_;
  std::string memory_;  // the bytes of an in-memory stream not yet taken
  size_t memoryPos_ = 0;
  size_t blockSize_ = kBlockSize;
  bool eof_ = true;

  std::string buf_;        // bytes taken and not yet passed over, after one byte of history
  size_t pos_ = 0;         // the next unread byte in buf_
  std::int64_t base_ = 0;  // file offset of buf_[0]
  // The blank lines inside a long blank run stand in buf_ as one; the bytes
  // from shiftAt_ on lie shift_ bytes further into the file.
  size_t shiftAt_ = std::string::npos;
  std::int64_t shift_ = 0;
  // A byte of text (no space, line end or end-of-file mark) that AtEnd found
  // in buf_; while it lies ahead, AtEnd need not scan the bytes before it
  // again. Before pos_ it tells nothing.
  size_t textAhead_ = std::string::npos;
  bool afterComma_ = false;
};

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

  // destinationFolder: the only folder in which an empty file is deleted.
  explicit RecordReader(std::string destinationFolder, ReadOptions options = {});

  // Opens the file for reading. Returns isEmpty: true when the file is
  // missing or empty; an empty file is deleted only when it lies in the
  // destination folder. No file is ever created. A file with data that cannot
  // be read throws FileError.
  bool OpenOrDropEmpty(const std::string& path);
  // Opens bytes held in memory, read as a file of these bytes would be.
  void OpenBytes(std::string bytes);
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
  std::string destinationFolder_;
  ReadOptions options_;
  std::array<size_t, kMaxFields + 1> keepBytes_;
  std::function<void(std::string_view)> streamedPiece_;
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
// The same; onData runs once when the file has data, after it was opened and
// before the first record (where a converter creates its outputs, so that an
// unreadable source leaves them as they were).
bool ForEachRecord(const std::string& path, int fieldCount, const std::string& dropEmptyIn,
                   const std::function<void()>& onData, const std::function<void(const RecordReader&)>& onRecord);
// The same, with the fields kept as options say.
bool ForEachRecord(const std::string& path, int fieldCount, const std::string& dropEmptyIn, const ReadOptions& options,
                   const std::function<void()>& onData, const std::function<void(const RecordReader&)>& onRecord);

// The same loop over bytes held in memory (a file read whole).
void ForEachRecordInBytes(std::string bytes, int fieldCount, const std::function<void(const RecordReader&)>& onRecord);

// True when path names a file directly inside folder (folder ends with a
// separator or not).
bool LiesInFolder(const std::string& path, const std::string& folder);

}  // namespace k2v
