#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/console_text.hpp"
#include "platform/wide_text.hpp"
#include "text/cp932.hpp"

namespace k2v {

namespace {

constexpr UINT kCp932 = 932;

// The bytes of the text in the code page.
std::string CodePageBytes(const std::string& text, UINT codePage) {
  if (codePage == CP_UTF8) return text;
  std::string bytes;
  if (codePage == kCp932) {
    // The program's own mapping, which writes an escaped byte back as it was.
    EncodeCp932Append(text, bytes);
    return bytes;
  }
  const std::wstring wide = Widen(text);
  if (wide.empty()) return bytes;
  const int n =
      WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return text;
  bytes.resize(static_cast<size_t>(n));
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), n, nullptr, nullptr);
  return bytes;
}

class HandleTextBuf : public std::streambuf {
 public:
  explicit HandleTextBuf(HANDLE handle) : handle_(handle) {}
  ~HandleTextBuf() override { sync(); }

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) pending_ += traits_type::to_char_type(c);
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    pending_.append(s, static_cast<size_t>(n));
    return n;
  }
  int sync() override {
    // A character cut by the flush waits for its other bytes.
    size_t whole = 0;
    while (whole < pending_.size()) {
      const size_t length = Utf8CharLength(pending_, whole);
      const auto lead = static_cast<unsigned char>(pending_[whole]);
      const size_t wanted = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
      if (length < wanted && whole + length == pending_.size()) break;
      whole += length;
    }
    const std::string text = pending_.substr(0, whole);
    pending_.erase(0, whole);
    return Write(text) ? 0 : -1;
  }

 private:
  bool Write(const std::string& text) {
    if (text.empty() || handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) return true;
    DWORD mode = 0;
    if (GetConsoleMode(handle_, &mode)) {
      const std::wstring wide = Widen(text);
      for (size_t at = 0; at < wide.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wide.size() - at, 8192));
        if (!WriteConsoleW(handle_, wide.data() + at, chunk, &written, nullptr) || written == 0) return false;
        at += written;
      }
      return true;
    }
    UINT codePage = GetConsoleOutputCP();
    if (codePage == 0) codePage = GetACP();
    const std::string bytes = CodePageBytes(text, codePage);
    for (size_t at = 0; at < bytes.size();) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1 << 16));
      if (!WriteFile(handle_, bytes.data() + at, chunk, &written, nullptr) || written == 0) return false;
      at += written;
    }
    return true;
  }

  HANDLE handle_;
  std::string pending_;
};

}  // namespace

std::unique_ptr<std::streambuf> HandleTextBuffer(void* handle) { return std::make_unique<HandleTextBuf>(handle); }

struct StandardText::Streams {
  std::unique_ptr<std::streambuf> outBuffer = HandleTextBuffer(GetStdHandle(STD_OUTPUT_HANDLE));
  std::unique_ptr<std::streambuf> errBuffer = HandleTextBuffer(GetStdHandle(STD_ERROR_HANDLE));
  std::ostream out{outBuffer.get()};
  std::ostream err{errBuffer.get()};
};

StandardText::StandardText() : streams_(std::make_unique<Streams>()) {
  // The batch's progress bar redraws its line with a terminal's control
  // sequences, which a console of Windows 10 and later understands when asked.
  const HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(errors, &mode)) SetConsoleMode(errors, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
  // Every insertion reaches the console at once, as std::cerr does; the
  // buffer holds only a character cut in two.
  streams_->out.setf(std::ios::unitbuf);
  streams_->err.setf(std::ios::unitbuf);
}

StandardText::~StandardText() {
  streams_->out.flush();
  streams_->err.flush();
}

std::ostream& StandardText::out() { return streams_->out; }
std::ostream& StandardText::err() { return streams_->err; }

}  // namespace k2v
