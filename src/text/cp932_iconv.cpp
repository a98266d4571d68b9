#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "text/cp932.hpp"
#include "text/cp932_backend.hpp"

namespace k2v::cp932_backend {
namespace {

// One iconv descriptor per direction and thread, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

iconv_t Decoder() {
  thread_local Converter c("UTF-8", "CP932");
  return c.get();
}
iconv_t Encoder() {
  thread_local Converter c("CP932", "UTF-8");
  return c.get();
}

// Runs iconv over input into out. Where it meets a sequence it cannot
// convert, onInvalid(rest, out) appends a stand-in and returns how many input
// bytes it stands for. With partial set, a sequence cut off at the end is
// not converted; returns how many bytes were left so.
template <class OnInvalid>
size_t ConvertRun(iconv_t cd, std::string_view input, std::string& out, OnInvalid onInvalid, bool partial = false) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (r == static_cast<size_t>(-1) && errno == EINVAL && partial) return inLeft;
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      size_t skip = onInvalid(std::string_view(in, inLeft), out);
      in += skip;
      inLeft -= skip;
    }
  }
  return 0;
}

}  // namespace

size_t DecodeRun(std::string_view bytes, std::string& out, bool partial) {
  return ConvertRun(
      Decoder(), bytes, out,
      [](std::string_view rest, std::string& o) {
        AppendCp932Byte(o, static_cast<unsigned char>(rest[0]));
        return size_t{1};
      },
      partial);
}

void EncodeRun(std::string_view text, std::string& out) {
  ConvertRun(Encoder(), text, out, [](std::string_view rest, std::string& o) {
    o += '?';
    return Utf8CharLength(rest, 0);
  });
}

}  // namespace k2v::cp932_backend
