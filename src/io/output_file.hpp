#pragma once
// An output file of Vantor: created or replaced whole, CP932, every line
// ended by CR LF.

#include <cstdio>
#include <string>
#include <string_view>

namespace k2v {

class OutputFile {
 public:
  // Creates (or empties) the file at once; an existing file of the same name
  // in another case keeps its spelling. Throws FileError.
  explicit OutputFile(const std::string& path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Writes the text in CP932 followed by CR LF; a CR or LF inside the text
  // becomes a space, so that one line stays one line.
  void WriteLine(std::string_view text);
  // Writes everything and closes the file. Throws FileError.
  void Close();

 private:
  void Flush();
  std::string path_;
  std::FILE* file_ = nullptr;
  std::string buffer_;
};

}  // namespace k2v
