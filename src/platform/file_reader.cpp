#include "platform/file_reader.hpp"

#include <cerrno>

#include "platform/files.hpp"

namespace k2v {

FileReader::FileReader(const std::string& path) : path_(path) {
  file_ = OpenFile(ResolveCase(path), "rb");
  if (!file_) throw FileError(path, SystemReason(errno));
}

FileReader::~FileReader() {
  if (file_) std::fclose(file_);
}

size_t FileReader::Read(char* buffer, size_t size) {
  size_t got = std::fread(buffer, 1, size, file_);
  if (got < size && std::ferror(file_)) throw FileError(path_, SystemReason(errno));
  return got;
}

}  // namespace k2v
