#include "io/output_file.hpp"

#include <cerrno>
#include <cstring>

#include "platform/files.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

OutputFile::OutputFile(const std::string& path) : path_(path) {
  CheckFault(FileOperation::Create, path);
  file_ = OpenFile(ResolveCase(path), "wb");
  if (!file_) throw FileError(path, SystemReason(errno));
}

OutputFile::~OutputFile() {
  if (file_) {
    try {
      Close();
    } catch (...) {
      // A destructor reached through an error: the first error is the one reported.
    }
  }
}

void OutputFile::WriteLine(std::string_view text) {
  size_t start = buffer_.size();
  EncodeCp932Append(text, buffer_);
  // A line break inside a quoted source item would split a fixed-column line
  // in two; it takes one column as a space instead. (CR and LF are never the
  // second byte of a double-byte character.)
  const size_t size = buffer_.size() - start;
  if (std::memchr(&buffer_[start], '\r', size) || std::memchr(&buffer_[start], '\n', size)) {
    for (size_t i = start; i < buffer_.size(); ++i) {
      if (buffer_[i] == '\r' || buffer_[i] == '\n') buffer_[i] = ' ';
    }
  }
  buffer_ += "\r\n";
  if (buffer_.size() >= (1u << 16)) Flush();
}

void OutputFile::Flush() {
  if (!file_ || buffer_.empty()) return;
  try {
    CheckFault(FileOperation::Write, path_);
  } catch (const FileError&) {
    std::fclose(file_);
    file_ = nullptr;
    throw;
  }
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
    int err = errno;
    std::fclose(file_);
    file_ = nullptr;
    throw FileError(path_, SystemReason(err));
  }
  buffer_.clear();
}

void OutputFile::Close() {
  if (!file_) return;
  Flush();
  std::FILE* f = file_;
  file_ = nullptr;
  if (std::fclose(f) != 0) throw FileError(path_, SystemReason(errno));
}

}  // namespace k2v
