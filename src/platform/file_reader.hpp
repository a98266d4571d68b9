#pragma once
// A file read from the start in blocks, so that a file of any size is read
// in the memory of one block.

#include <cstddef>
#include <cstdio>
#include <string>

namespace k2v {

class FileReader {
 public:
  // Opens the file (its name matched ignoring case); throws FileError.
  explicit FileReader(const std::string& path);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Reads up to size bytes into buffer; returns how many, 0 at the end of
  // the file. Throws FileError when the file cannot be read.
  size_t Read(char* buffer, size_t size);

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
};

}  // namespace k2v
