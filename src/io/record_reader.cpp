#include "io/record_reader.hpp"

#include <stdexcept>
#include <utility>

#include "platform/files.hpp"

namespace k2v {

RecordReader::RecordReader(ReadOptions options) : options_(std::move(options)) {
  keepBytes_.fill(std::string::npos);
  for (const auto& [field, bytes] : options_.keepBytes) {
    if (field >= 1 && field <= kMaxFields) keepBytes_[static_cast<size_t>(field)] = bytes;
  }
  if (options_.streamedField > 0 && options_.onPiece) {
    streamedPiece_ = [this](std::string_view piece) { options_.onPiece(*this, piece); };
  }
}

bool RecordReader::Open(const std::string& path) {
  Close();
  if (FileSize(path) == 0) return false;
  // A file with data that cannot be read is an error, not "no data": its
  // data would silently be missing from the conversion.
  stream_ = ItemStream::OfFile(path);
  stream_.Exhausted();  // reads the first block, so that an unreadable file fails here
  open_ = true;
  return true;
}

void RecordReader::OpenItems(ItemStream items) {
  stream_ = std::move(items);
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

bool ForEachRecord(const std::string& path, int fieldCount, const std::function<void(const RecordReader&)>& onRecord) {
  return ForEachRecord(
      path, fieldCount, ReadOptions{}, [] {}, onRecord);
}

bool ForEachRecord(const std::string& path, int fieldCount, const std::function<void()>& onData,
                   const std::function<void(const RecordReader&)>& onRecord) {
  return ForEachRecord(path, fieldCount, ReadOptions{}, onData, onRecord);
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

bool ForEachRecord(const std::string& path, int fieldCount, const ReadOptions& options,
                   const std::function<void()>& onData, const std::function<void(const RecordReader&)>& onRecord) {
  RecordReader reader(options);
  if (!reader.Open(path)) return false;
  onData();
  ReadRecords(reader, fieldCount, onRecord);
  return true;
}

void ForEachRecordInBytes(std::string bytes, int fieldCount, const std::function<void(const RecordReader&)>& onRecord) {
  RecordReader reader;
  reader.OpenItems(ItemStream(std::move(bytes)));
  ReadRecords(reader, fieldCount, onRecord);
}

void RecordReader::Close() {
  stream_ = ItemStream();
  open_ = false;
}

}  // namespace k2v
