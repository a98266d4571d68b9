#include "text/cp932.hpp"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <unordered_map>

namespace k2v {
namespace {

constexpr char32_t kEscapeBase = 0xDC00;

// Length in bytes of the UTF-8 sequence that starts with lead (1 for a stray byte).
size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}


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

// The escaped byte of a U+DC00..U+DCFF character at i, or -1. Decoding only
// makes U+DC80..U+DCFF, but every escape writes back as its byte.
int EscapedByteAt(std::string_view text, size_t i) {
  if (i + 3 > text.size()) return -1;
  auto b0 = static_cast<unsigned char>(text[i]);
  auto b1 = static_cast<unsigned char>(text[i + 1]);
  auto b2 = static_cast<unsigned char>(text[i + 2]);
  if (b0 != 0xED || b1 < 0xB0 || b1 > 0xB3 || (b2 & 0xC0) != 0x80) return -1;
  return ((b1 - 0xB0) << 6) + (b2 & 0x3F);
}

// Runs iconv over input into out. Where it meets a sequence it cannot
// convert, onInvalid(rest, out) appends a stand-in and returns how many input
// bytes it stands for.
template <class OnInvalid>
void ConvertRun(iconv_t cd, std::string_view input, std::string& out, OnInvalid onInvalid) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      size_t skip = onInvalid(std::string_view(in, inLeft), out);
      in += skip;
      inLeft -= skip;
    }
  }
}

// Converts a run of program text that holds no ASCII and no escapes.
void EncodeRun(std::string_view run, std::string& out) {
  // A character CP932 cannot write (or a broken sequence): one "?".
  ConvertRun(Encoder(), run, out, [](std::string_view rest, std::string& o) {
    o += '?';
    return Utf8CharLength(rest, 0);
  });
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendCp932Byte(std::string& out, unsigned char byte) {
  if (byte < 0x80) {
    out += static_cast<char>(byte);
  } else {
    AppendUtf8(out, kEscapeBase + byte);
  }
}

size_t Utf8CharLength(std::string_view text, size_t i) {
  size_t len = Utf8Length(static_cast<unsigned char>(text[i]));
  return std::min(len, text.size() - i);
}

std::string EncodeCp932Char(std::string_view ch) {
  auto lead = static_cast<unsigned char>(ch[0]);
  if (lead < 0x80) return std::string(ch);
  int escaped = EscapedByteAt(ch, 0);
  if (escaped >= 0) return std::string(1, static_cast<char>(escaped));
  thread_local std::unordered_map<std::string, std::string> cache;
  auto it = cache.find(std::string(ch));
  if (it != cache.end()) return it->second;
  std::string bytes;
  EncodeRun(ch, bytes);
  cache.emplace(std::string(ch), bytes);
  return bytes;
}

std::string DecodeCp932(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    // ASCII below 0x40 never is the trail byte of a double-byte character.
    size_t start = i;
    while (i < n && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    out.append(bytes.data() + start, i - start);
    if (i == n) break;
    size_t runEnd = i;
    while (runEnd < n && static_cast<unsigned char>(bytes[runEnd]) >= 0x40) ++runEnd;
    // Not a valid character (or cut off at the end): keep the byte.
    ConvertRun(Decoder(), bytes.substr(i, runEnd - i), out, [](std::string_view rest, std::string& o) {
      AppendCp932Byte(o, static_cast<unsigned char>(rest[0]));
      return size_t{1};
    });
    i = runEnd;
  }
  return out;
}

std::string EncodeCp932(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    int escaped = EscapedByteAt(text, i);
    if (escaped >= 0) {
      out += static_cast<char>(escaped);
      i += 3;
      continue;
    }
    size_t runEnd = i;
    while (runEnd < n && static_cast<unsigned char>(text[runEnd]) >= 0x80 && EscapedByteAt(text, runEnd) < 0) {
      runEnd += Utf8CharLength(text, runEnd);
    }
    EncodeRun(text.substr(i, runEnd - i), out);
    i = runEnd;
  }
  return out;
}

}  // namespace k2v
