#pragma once
// The items of Kolbrix's comma-separated files, read as a stream of bytes: a
// comma or a line end (CR LF, CR or LF) ends an item, spaces before an item
// are skipped, a quoted item keeps its commas. Bytes are taken in blocks, so
// that a file, a line or an item of any size is read in the memory of a few
// blocks. Nothing here knows records or folders.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "text/cp932.hpp"

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
  static bool IsBreak(char c) { return c == ',' || c == '\r' || c == '\n'; }
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

// FinishItemAt and NextItemIfTaken read every item of a record: they stand
// here, so that the record reader's loop has their code in place. A
// compiler that does not know the attribute ignores it.
[[gnu::always_inline]] inline void ItemStream::FinishItemAt(size_t end) {
  afterComma_ = buf_[end] == ',';
  if (afterComma_) {
    pos_ = end + 1;
  } else {
    pos_ = end;
    SkipLineEnd();
  }
}

[[gnu::always_inline]] inline bool ItemStream::NextItemIfTaken(std::string& out, size_t keepBytes) {
  const size_t size = buf_.size();
  const size_t from = pos_;
  if (from >= size) return false;
  const char* data = buf_.data();
  const char first = data[from];
  if (first == '"') return NextQuotedItemIfTaken(out, keepBytes);
  if (first == ' ' || first == '\r' || first == '\n' || first == '\x1a') return false;
  // Spaces at the item's end are not part of it.
  size_t end = from;
  size_t to = from;
  unsigned char high = 0;  // any byte from 0x80 on
  for (; end < size; ++end) {
    const auto c = static_cast<unsigned char>(data[end]);
    // Above the comma: text (a space, CR and LF lie below it).
    if (c > ',') {
      high |= c;
      to = end + 1;
      continue;
    }
    if (IsBreak(static_cast<char>(c))) break;
    if (c != ' ') to = end + 1;
  }
  if (end >= size) return false;
  out.clear();
  if (keepBytes > 0 && to > from) {
    if (high < 0x80) {
      // ASCII is its own text.
      out.append(data + from, to - from);
    } else {
      DecodeCp932Append(std::string_view(data + from, to - from), out);
    }
  }
  FinishItemAt(end);
  return true;
}

}  // namespace k2v
