#include "io/record_reader.hpp"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "platform/file_reader.hpp"
#include "platform/files.hpp"
#include "text/cp932.hpp"

namespace k2v {

// Where the bytes of an item or a line go: raw bytes are decoded as they are
// handed over.
class ItemStream::Sink {
 public:
  virtual ~Sink() = default;
  // Takes the bytes; when complete is false a character cut off at their end
  // may be left for the next call. Returns how many bytes were taken.
  virtual size_t Take(std::string_view raw, bool complete) = 0;
  // Takes n spaces (those inside an item, once text follows them).
  virtual void TakeSpaces(size_t n) = 0;
};

namespace {

class StringSink : public ItemStream::Sink {
 public:
  StringSink(std::string& out, size_t keep) : out_(out), keep_(keep) { out_.clear(); }
  size_t Take(std::string_view raw, bool complete) override {
    if (kept_ >= keep_) return raw.size();
    size_t spaces = 0;
    if (!sawText_) {
      // Spaces before the text (of a quoted item or a line) do not count
      // against the bytes kept, or a long run of them would push the text
      // out; of the run itself no more than keep_ bytes are kept.
      while (spaces < raw.size() && raw[spaces] == ' ') ++spaces;
      const size_t room = keep_ - std::min(leadingSpaces_, keep_);
      out_.append(std::min(spaces, room), ' ');
      leadingSpaces_ += spaces;
      if (spaces == raw.size()) return spaces;
      sawText_ = true;
    }
    const size_t used = DecodeCp932Append(raw.substr(spaces), out_, complete);
    kept_ += used;
    return spaces + used;
  }
  void TakeSpaces(size_t n) override {
    if (kept_ >= keep_) return;
    n = std::min(n, keep_ - kept_);
    out_.append(n, ' ');
    kept_ += n;
  }

 private:
  std::string& out_;
  size_t keep_;
  size_t kept_ = 0;
  size_t leadingSpaces_ = 0;
  bool sawText_ = false;
};

class PieceSink : public ItemStream::Sink {
 public:
  explicit PieceSink(const std::function<void(std::string_view)>& onPiece) : onPiece_(onPiece) {}
  size_t Take(std::string_view raw, bool complete) override {
    piece_.clear();
    const size_t used = DecodeCp932Append(raw, piece_, complete);
    if (!piece_.empty()) onPiece_(piece_);
    return used;
  }
  void TakeSpaces(size_t n) override {
    while (n > 0) {
      const size_t k = std::min<size_t>(n, 4096);
      piece_.assign(k, ' ');
      onPiece_(piece_);
      n -= k;
    }
  }

 private:
  const std::function<void(std::string_view)>& onPiece_;
  std::string piece_;
};

bool IsBreak(char c) { return c == ',' || c == '\r' || c == '\n'; }

}  // namespace

ItemStream::ItemStream() = default;
ItemStream::ItemStream(std::string bytes, size_t blockSize)
    : memory_(std::move(bytes)), blockSize_(std::max<size_t>(blockSize, 1)), eof_(false) {}
ItemStream::ItemStream(std::unique_ptr<FileReader> file) : file_(std::move(file)), eof_(false) {}
ItemStream ItemStream::OfFile(const std::string& path) { return ItemStream(std::make_unique<FileReader>(path)); }
ItemStream::ItemStream(ItemStream&&) noexcept = default;
ItemStream& ItemStream::operator=(ItemStream&&) noexcept = default;
ItemStream::~ItemStream() = default;

void ItemStream::Compact() {
  // One byte before the next unread one stays: it tells whether a line starts there.
  if (pos_ <= 1) return;
  const size_t drop = pos_ - 1;
  if (textAhead_ != std::string::npos) textAhead_ = textAhead_ >= pos_ ? textAhead_ - drop : std::string::npos;
  buf_.erase(0, drop);
  base_ += static_cast<std::int64_t>(drop);
  pos_ -= drop;
  if (shiftAt_ != std::string::npos) {
    if (shiftAt_ <= drop) {
      base_ += shift_;
      shift_ = 0;
      shiftAt_ = std::string::npos;
    } else {
      shiftAt_ -= drop;
    }
  }
}

bool ItemStream::Fill() {
  if (eof_) return false;
  Compact();
  const size_t old = buf_.size();
  size_t got = 0;
  if (file_) {
    buf_.resize(old + blockSize_);
    got = file_->Read(buf_.data() + old, blockSize_);
  } else {
    got = std::min(blockSize_, memory_.size() - memoryPos_);
    buf_.resize(old + got);
    std::memcpy(buf_.data() + old, memory_.data() + memoryPos_, got);
    memoryPos_ += got;
  }
  buf_.resize(old + got);
  if (got == 0) {
    eof_ = true;
    file_.reset();
    memory_ = std::string();
    return false;
  }
  return true;
}

bool ItemStream::Have(size_t k) {
  while (buf_.size() - pos_ <= k) {
    if (!Fill()) return false;
  }
  return true;
}

std::int64_t ItemStream::Position() const {
  std::int64_t p = base_ + static_cast<std::int64_t>(pos_) + 1;
  if (shiftAt_ != std::string::npos && pos_ >= shiftAt_) p += shift_;
  return p;
}

bool ItemStream::Exhausted() { return !Have(0); }

void ItemStream::SkipToEnd() {
  pos_ = buf_.size();
  eof_ = true;
  file_.reset();
  memory_ = std::string();
  afterComma_ = false;
}

bool ItemStream::AtEnd() {
  // Scans the blank bytes ahead without passing over them. In a run longer
  // than a block, the whole blank lines after its first line end stand for
  // the reader as one empty line: an item after a comma still ends at the
  // first line end, the blank lines after it are skipped all the same, and
  // every position the reader can stop at keeps its byte count. Lines of
  // end-of-file marks are not collapsed (before text they are items), so the
  // text found after them is remembered: each byte is scanned once, however
  // often the reader asks on its way through the run.
  if (textAhead_ != std::string::npos && textAhead_ >= pos_) return false;
  size_t k = 0;
  bool endMark = false;
  for (;;) {
    for (; pos_ + k < buf_.size(); ++k) {
      const char c = buf_[pos_ + k];
      if (c == '\x1a') {
        // The end-of-file mark some Windows programs still write.
        endMark = true;
      } else if (c != ' ' && c != '\r' && c != '\n') {
        textAhead_ = pos_ + k;
        return false;
      }
    }
    if (k >= blockSize_ && !endMark) k = CollapseBlankLines(k);
    if (!Fill()) return true;
  }
}

size_t ItemStream::CollapseBlankLines(size_t k) {
  const size_t end = pos_ + k;
  size_t first = pos_;
  while (first < end && buf_[first] != '\r' && buf_[first] != '\n') ++first;
  if (first + 1 >= end) return k;
  // After the first line end (a CR LF is one).
  const size_t from = first + (buf_[first] == '\r' && buf_[first + 1] == '\n' ? 2 : 1);
  const size_t lastLf = buf_.rfind('\n', end - 1);
  if (lastLf == std::string::npos || lastLf < from) return k;
  const size_t to = lastLf + 1;
  if (to - from < 2) return k;
  if (shiftAt_ != std::string::npos && shiftAt_ <= pos_) {
    base_ += shift_;
    shift_ = 0;
    shiftAt_ = std::string::npos;
  }
  // One shift at a time: the bytes after the empty line lie further on.
  if (shiftAt_ != std::string::npos && shiftAt_ != from + 1) return k;
  buf_.replace(from, to - from, 1, '\n');
  shiftAt_ = from + 1;
  shift_ += static_cast<std::int64_t>(to - from - 1);
  return k - (to - from - 1);
}

void ItemStream::SkipLineEnd() {
  if (!Have(0)) return;
  if (buf_[pos_] == '\r') {
    ++pos_;
    if (Have(0) && buf_[pos_] == '\n') ++pos_;
  } else if (buf_[pos_] == '\n') {
    ++pos_;
  }
}

void ItemStream::SkipSpaces() {
  while (Have(0)) {
    while (pos_ < buf_.size() && buf_[pos_] == ' ') ++pos_;
    if (pos_ < buf_.size()) return;
  }
}

void ItemStream::ReadItem(Sink& sink) {
  SkipSpaces();
  if (!Have(0)) {
    afterComma_ = false;
    return;
  }
  if (buf_[pos_] == '"') {
    ++pos_;
    // Up to the closing quote, or to the end of the data.
    size_t k = 0;
    for (;;) {
      const void* quote = pos_ + k < buf_.size() ? std::memchr(buf_.data() + pos_ + k, '"', buf_.size() - pos_ - k)
                                                 : nullptr;
      if (quote) {
        k = static_cast<size_t>(static_cast<const char*>(quote) - (buf_.data() + pos_));
        sink.Take(std::string_view(buf_).substr(pos_, k), true);
        pos_ += k + 1;
        break;
      }
      k = buf_.size() - pos_;
      if (k >= blockSize_) {
        const size_t used = sink.Take(std::string_view(buf_).substr(pos_, k), false);
        pos_ += used;
        k -= used;
      }
      if (!Fill()) {
        sink.Take(std::string_view(buf_).substr(pos_, k), true);
        pos_ += k;
        break;
      }
    }
    // Whatever stands between the closing quote and the separator is dropped.
    while (Have(0)) {
      while (pos_ < buf_.size() && !IsBreak(buf_[pos_])) ++pos_;
      if (pos_ < buf_.size()) break;
    }
  } else {
    // Spaces at the item's end are not part of it; those inside are handed
    // over once text follows them.
    size_t k = 0;             // bytes scanned from pos_
    size_t textEnd = 0;       // end of the last byte that is not a space, from pos_
    size_t spacesBefore = 0;  // spaces passed over before pos_, not handed over yet
    for (;;) {
      const char* data = buf_.data() + pos_;
      const size_t avail = buf_.size() - pos_;
      while (k < avail && !IsBreak(data[k])) {
        if (data[k] != ' ') textEnd = k + 1;
        ++k;
      }
      if (k < avail) break;
      if (k >= blockSize_) {
        if (textEnd > 0) {
          if (spacesBefore > 0) sink.TakeSpaces(spacesBefore);
          spacesBefore = 0;
        }
        if (textEnd < k) {
          // A space follows the text, so its last character is whole.
          sink.Take(std::string_view(buf_).substr(pos_, textEnd), true);
          spacesBefore += k - textEnd;
          pos_ += k;
          k = 0;
          textEnd = 0;
        } else {
          const size_t used = sink.Take(std::string_view(buf_).substr(pos_, k), false);
          pos_ += used;
          k -= used;
          textEnd = k;
        }
      }
      if (!Fill()) break;
    }
    if (textEnd > 0) {
      if (spacesBefore > 0) sink.TakeSpaces(spacesBefore);
      sink.Take(std::string_view(buf_).substr(pos_, textEnd), true);
    }
    pos_ += k;
  }
  afterComma_ = Have(0) && buf_[pos_] == ',';
  if (afterComma_) {
    ++pos_;
  } else {
    SkipLineEnd();
  }
}

void ItemStream::ReadLine(Sink& sink) {
  size_t k = 0;
  for (;;) {
    const char* data = buf_.data() + pos_;
    const size_t avail = buf_.size() - pos_;
    while (k < avail && data[k] != '\r' && data[k] != '\n') ++k;
    if (k < avail) break;
    if (k >= blockSize_) {
      const size_t used = sink.Take(std::string_view(buf_).substr(pos_, k), false);
      pos_ += used;
      k -= used;
    }
    if (!Fill()) break;
  }
  sink.Take(std::string_view(buf_).substr(pos_, k), true);
  pos_ += k;
  SkipLineEnd();
}

std::string ItemStream::NextItem() {
  std::string text;
  NextItemInto(text);
  return text;
}

void ItemStream::NextItemInto(std::string& out, size_t keepBytes) {
  StringSink sink(out, keepBytes);
  ReadItem(sink);
}

// FinishItemAt and NextItemIfTaken read every item of a record: worth their
// code at the one place each is called. A compiler that does not know the
// attribute ignores it.
[[gnu::always_inline]] inline void ItemStream::FinishItemAt(size_t end) {
  afterComma_ = buf_[end] == ',';
  if (afterComma_) {
    pos_ = end + 1;
  } else {
    pos_ = end;
    SkipLineEnd();
  }
}

bool ItemStream::NextQuotedItemIfTaken(std::string& out, size_t keepBytes) {
  const size_t size = buf_.size();
  const char* data = buf_.data();
  // Up to the closing quote; whatever stands after it up to the separator is dropped.
  const size_t from = pos_ + 1;
  const void* quote = std::memchr(data + from, '"', size - from);
  if (!quote) return false;
  const size_t to = static_cast<size_t>(static_cast<const char*>(quote) - data);
  size_t end = to + 1;
  while (end < size && !IsBreak(data[end])) ++end;
  if (end >= size) return false;
  out.clear();
  if (keepBytes > 0) DecodeCp932Append(std::string_view(data + from, to - from), out);
  FinishItemAt(end);
  return true;
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

void ItemStream::NextItemTo(const std::function<void(std::string_view)>& onPiece) {
  PieceSink sink(onPiece);
  ReadItem(sink);
}

void ItemStream::SkipBlankLines() {
  if (pos_ > 0 && buf_[pos_ - 1] != '\r' && buf_[pos_ - 1] != '\n') return;
  for (;;) {
    size_t k = 0;
    while (Have(k) && buf_[pos_ + k] == ' ') ++k;
    if (!Have(k) || (buf_[pos_ + k] != '\r' && buf_[pos_ + k] != '\n')) return;
    pos_ += k;
    SkipLineEnd();
  }
}

std::string ItemStream::NextLine() {
  std::string line;
  NextLineInto(line);
  return line;
}

void ItemStream::NextLineInto(std::string& out, size_t keepBytes) {
  StringSink sink(out, keepBytes);
  ReadLine(sink);
}

bool LiesInFolder(const std::string& path, const std::string& folder) {
  namespace fs = std::filesystem;
  fs::path parent = NativePath(path).parent_path();
  if (parent.empty()) return false;
  return SameFolder(PathText(parent), folder);
}

RecordReader::RecordReader(std::string destinationFolder, ReadOptions options)
    : destinationFolder_(std::move(destinationFolder)), options_(std::move(options)) {
  keepBytes_.fill(std::string::npos);
  for (const auto& [field, bytes] : options_.keepBytes) {
    if (field >= 1 && field <= kMaxFields) keepBytes_[static_cast<size_t>(field)] = bytes;
  }
  if (options_.streamedField > 0 && options_.onPiece) {
    streamedPiece_ = [this](std::string_view piece) { options_.onPiece(*this, piece); };
  }
}

bool RecordReader::OpenOrDropEmpty(const std::string& path) {
  Close();
  if (FileSize(path) == 0) {
    if (FileExists(path) && LiesInFolder(ResolveCase(path), destinationFolder_)) {
      try {
        DeleteFileIfExists(path);
      } catch (const FileError&) {
        // A file that cannot be deleted stays; it is still empty.
      }
    }
    return true;
  }
  // A file with data that cannot be read is an error, not "no data": its
  // data would silently be missing from the conversion.
  stream_ = ItemStream::OfFile(path);
  stream_.Exhausted();  // reads the first block, so that an unreadable file fails here
  open_ = true;
  return false;
}

void RecordReader::OpenBytes(std::string bytes) {
  Close();
  stream_ = ItemStream(std::move(bytes));
  open_ = true;
}

void RecordReader::ReadRecord(int n) {
  if (n < 1 || n > kMaxFields) throw std::out_of_range("field count " + std::to_string(n) + " is outside 1 to 100");
  if (!open_ || stream_.AtEnd()) {
    RecordPos = kEnd;
    return;
  }
  RecordPos = static_cast<std::int32_t>(stream_.Position());
  RecordComplete = true;
  for (int k = 1; k <= n; ++k) {
    const auto field = static_cast<size_t>(k);
    // The common case: the item stands right here, whole in the bytes read.
    if ((k != options_.streamedField || !streamedPiece_) && stream_.NextItemIfTaken(Fields[field], keepBytes_[field])) {
      continue;
    }
    // A blank line between records (or within one) is no item: it would
    // move every later field into the wrong place.
    if (!(k > 1 && stream_.AfterComma())) {
      if (k > 1) stream_.AtEnd();  // a long blank run ahead is read as one byte
      stream_.SkipBlankLines();
    }
    if (stream_.AtEnd()) {
      // Only line ends, spaces and an end-of-file mark are left: the field
      // is empty (a mark is no text), and it is there only when a comma
      // announced it (the empty last item of "a,b,").
      if (!(k > 1 && stream_.AfterComma())) RecordComplete = false;
      stream_.SkipToEnd();
      Fields[field].clear();
      continue;
    }
    if (k == options_.streamedField && streamedPiece_) {
      Fields[field].clear();
      stream_.NextItemTo(streamedPiece_);
    } else {
      stream_.NextItemInto(Fields[field], keepBytes_[field]);
    }
  }
}

namespace {

// Reads records of fieldCount fields from the open reader to its end, then closes it.
void ReadRecords(RecordReader& reader, int fieldCount, const std::function<void(const RecordReader&)>& onRecord) {
  for (;;) {
    reader.ReadRecord(fieldCount);
    if (reader.RecordPos == RecordReader::kEnd) break;
    onRecord(reader);
  }
  reader.Close();
}

}  // namespace

bool ForEachRecord(const std::string& path, int fieldCount, const std::string& dropEmptyIn,
                   const std::function<void(const RecordReader&)>& onRecord) {
  return ForEachRecord(
      path, fieldCount, dropEmptyIn, ReadOptions{}, [] {}, onRecord);
}

bool ForEachRecord(const std::string& path, int fieldCount, const std::string& dropEmptyIn,
                   const std::function<void()>& onData, const std::function<void(const RecordReader&)>& onRecord) {
  return ForEachRecord(path, fieldCount, dropEmptyIn, ReadOptions{}, onData, onRecord);
}

bool ForEachRecord(const std::string& path, int fieldCount, const std::string& dropEmptyIn, const ReadOptions& options,
                   const std::function<void()>& onData, const std::function<void(const RecordReader&)>& onRecord) {
  RecordReader reader(dropEmptyIn, options);
  if (reader.OpenOrDropEmpty(path)) return false;
  onData();
  ReadRecords(reader, fieldCount, onRecord);
  return true;
}

void ForEachRecordInBytes(std::string bytes, int fieldCount, const std::function<void(const RecordReader&)>& onRecord) {
  RecordReader reader("");
  reader.OpenBytes(std::move(bytes));
  ReadRecords(reader, fieldCount, onRecord);
}

void RecordReader::Close() {
  stream_ = ItemStream();
  open_ = false;
}

}  // namespace k2v
