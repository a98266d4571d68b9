#include "io/item_stream.hpp"

#include <algorithm>
#include <cstring>

#include "platform/file_reader.hpp"
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

}  // namespace k2v
