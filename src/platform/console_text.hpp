#pragma once
// The command line's standard output and standard error, written as the
// program's UTF-8 text. Linux writes the bytes as they are. On Windows a
// console gets the text through WriteConsoleW, so that a Japanese console
// shows it whatever its code page; a file or a pipe gets bytes in the
// console's code page (the ANSI code page when there is no console), as
// Windows programs write them, CP932 losslessly.

#include <memory>
#include <ostream>
#include <streambuf>

namespace k2v {

class StandardText {
 public:
  StandardText();
  ~StandardText();
  StandardText(const StandardText&) = delete;
  StandardText& operator=(const StandardText&) = delete;

  std::ostream& out();
  std::ostream& err();

 private:
  struct Streams;
  std::unique_ptr<Streams> streams_;
};

#ifdef _WIN32
// The text buffer of one Windows handle (a console, a file or a pipe), as
// StandardText uses it. The text is written when the buffer is flushed, up
// to the last whole character.
std::unique_ptr<std::streambuf> HandleTextBuffer(void* handle);
#endif

}  // namespace k2v
