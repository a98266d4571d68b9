#include "io/record_reader.hpp"

#include <filesystem>
#include <stdexcept>

#include "platform/files.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

ItemStream::ItemStream(std::string bytes) : bytes_(std::move(bytes)) {}

bool ItemStream::AtEnd() const {
  // The first byte from pos_ on that is more than a line end or a space,
  // remembered: asking again before it is reached costs nothing, so a long
  // run of blank lines is scanned once, not once per record.
  if (dataAt_ == std::string::npos || dataAt_ < pos_) {
    dataAt_ = pos_;
    while (dataAt_ < bytes_.size()) {
      char c = bytes_[dataAt_];
      // 0x1A is the end-of-file mark some Windows programs still write.
      if (c != '\r' && c != '\n' && c != ' ' && c != '\x1a') break;
      ++dataAt_;
    }
  }
  return dataAt_ >= bytes_.size();
}

void ItemStream::SkipLineEnd() {
  if (pos_ < bytes_.size() && bytes_[pos_] == '\r') {
    ++pos_;
    if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
  } else if (pos_ < bytes_.size() && bytes_[pos_] == '\n') {
    ++pos_;
  }
}

std::string ItemStream::NextItem() {
  const size_t n = bytes_.size();
  while (pos_ < n && bytes_[pos_] == ' ') ++pos_;
  if (pos_ >= n) {
    afterComma_ = false;
    return {};
  }
  std::string_view item;
  if (bytes_[pos_] == '"') {
    size_t start = pos_ + 1;
    size_t close = bytes_.find('"', start);
    if (close == std::string::npos) close = n;
    item = std::string_view(bytes_).substr(start, close - start);
    pos_ = close < n ? close + 1 : n;
    // Whatever stands between the closing quote and the separator is dropped.
    while (pos_ < n && bytes_[pos_] != ',' && bytes_[pos_] != '\r' && bytes_[pos_] != '\n') ++pos_;
  } else {
    size_t start = pos_;
    while (pos_ < n && bytes_[pos_] != ',' && bytes_[pos_] != '\r' && bytes_[pos_] != '\n') ++pos_;
    size_t end = pos_;
    while (end > start && bytes_[end - 1] == ' ') --end;
    item = std::string_view(bytes_).substr(start, end - start);
  }
  std::string text = DecodeCp932(item);
  afterComma_ = pos_ < n && bytes_[pos_] == ',';
  if (afterComma_) {
    ++pos_;
  } else {
    SkipLineEnd();
  }
  return text;
}

void ItemStream::SkipBlankLines() {
  if (pos_ > 0 && bytes_[pos_ - 1] != '\r' && bytes_[pos_ - 1] != '\n') return;
  for (;;) {
    size_t p = pos_;
    while (p < bytes_.size() && bytes_[p] == ' ') ++p;
    if (p >= bytes_.size() || (bytes_[p] != '\r' && bytes_[p] != '\n')) return;
    pos_ = p;
    SkipLineEnd();
  }
}

std::string ItemStream::NextLine() {
  size_t start = pos_;
  while (pos_ < bytes_.size() && bytes_[pos_] != '\r' && bytes_[pos_] != '\n') ++pos_;
  std::string line = DecodeCp932(std::string_view(bytes_).substr(start, pos_ - start));
  SkipLineEnd();
  return line;
}

bool LiesInFolder(const std::string& path, const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path parent = fs::path(path).parent_path();
  if (parent.empty()) return false;
  return fs::equivalent(parent, fs::path(folder), ec) && !ec;
}

RecordReader::RecordReader(std::string destinationFolder) : destinationFolder_(std::move(destinationFolder)) {}

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
  stream_ = ItemStream(ReadFileBytes(path));
  open_ = true;
  return false;
}

void RecordReader::ReadRecord(int n, int slot) {
  if (n < 1 || n > kMaxFields) throw std::out_of_range("field count " + std::to_string(n) + " is outside 1 to 100");
  if (slot < 0 || slot > kMaxSlots) throw std::out_of_range("record slot " + std::to_string(slot) + " is outside 0 to 20");
  if (!open_ || stream_.AtEnd()) {
    RecordPos[static_cast<size_t>(slot)] = kEnd;
    return;
  }
  RecordPos[static_cast<size_t>(slot)] = static_cast<std::int32_t>(stream_.Position());
  RecordComplete = true;
  for (int k = 1; k <= n; ++k) {
    // A blank line between records (or within one) is no item: it would
    // move every later field into the wrong place.
    if (!(k > 1 && stream_.AfterComma())) stream_.SkipBlankLines();
    if (stream_.AtEnd()) {
      // Only line ends, spaces and an end-of-file mark are left: the field
      // is empty (a mark is no text), and it is there only when a comma
      // announced it (the empty last item of "a,b,").
      if (!(k > 1 && stream_.AfterComma())) RecordComplete = false;
      stream_.SkipToEnd();
      Fields[static_cast<size_t>(k)].clear();
      continue;
    }
    Fields[static_cast<size_t>(k)] = stream_.NextItem();
  }
}

bool ForEachRecord(const std::string& path, int fieldCount, const std::string& dropEmptyIn,
                   const std::function<void(const RecordReader&)>& onRecord) {
  return ForEachRecord(path, fieldCount, dropEmptyIn, [] {}, onRecord);
}

bool ForEachRecord(const std::string& path, int fieldCount, const std::string& dropEmptyIn,
                   const std::function<void()>& onData, const std::function<void(const RecordReader&)>& onRecord) {
  RecordReader reader(dropEmptyIn);
  if (reader.OpenOrDropEmpty(path)) return false;
  onData();
  for (;;) {
    reader.ReadRecord(fieldCount, 0);
    if (reader.RecordPos[0] == RecordReader::kEnd) break;
    onRecord(reader);
  }
  reader.Close();
  return true;
}

void RecordReader::Close() {
  stream_ = ItemStream();
  open_ = false;
}

}  // namespace k2v
