#include "run/sjis_text.hpp"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <unordered_map>

namespace k2v {
namespace {

constexpr char32_t kEscapeBase = 0xDC00;

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

// A byte kept on its own: below 0x80 it is the ASCII character it spells
// (the trail byte 0x52 of a cut "コ" is "R"), above it the escape U+DC00+byte.
void AppendEscape(std::string& out, unsigned char byte) {
  if (byte < 0x80) {
    out += static_cast<char>(byte);
  } else {
    AppendUtf8(out, kEscapeBase + byte);
  }
}

// Length in bytes of the UTF-8 sequence that starts with lead (1 for a stray byte).
size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// Length of the character starting at i, never past the end.
size_t CharLengthAt(std::string_view text, size_t i) {
  size_t len = Utf8Length(static_cast<unsigned char>(text[i]));
  return std::min(len, text.size() - i);
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
    return CharLengthAt(rest, 0);
  });
}

// The CP932 bytes of the one character at text[i .. i+len).
std::string EncodeChar(std::string_view ch) {
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

struct CharPiece {
  std::string_view utf8;
  std::string bytes;
};

std::vector<CharPiece> Pieces(std::string_view text) {
  std::vector<CharPiece> pieces;
  for (size_t i = 0; i < text.size();) {
    size_t len = CharLengthAt(text, i);
    std::string_view ch = text.substr(i, len);
    pieces.push_back({ch, EncodeChar(ch)});
    i += len;
  }
  return pieces;
}

// The bytes [from, to) of the CP932 form as text. A character cut at either
// edge keeps its bytes as escapes: bytes are never paired anew.
std::string CutBytes(std::string_view text, long from, long to) {
  std::string out;
  if (to <= from) return out;
  long pos = 0;
  for (const CharPiece& p : Pieces(text)) {
    long start = pos;
    long end = pos + static_cast<long>(p.bytes.size());
    pos = end;
    if (end <= from) continue;
    if (start >= to) break;
    if (start >= from && end <= to) {
      out += p.utf8;
    } else {
      for (long b = std::max(start, from); b < std::min(end, to); ++b) {
        AppendEscape(out, static_cast<unsigned char>(p.bytes[static_cast<size_t>(b - start)]));
      }
    }
  }
  return out;
}

bool IsSpace(char c) { return c == ' '; }

}  // namespace

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
      AppendEscape(o, static_cast<unsigned char>(rest[0]));
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
      runEnd += CharLengthAt(text, runEnd);
    }
    EncodeRun(text.substr(i, runEnd - i), out);
    i = runEnd;
  }
  return out;
}

int SjisLen(std::string_view text) {
  size_t ascii = 0;
  while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
  if (ascii == text.size()) return static_cast<int>(ascii);
  return static_cast<int>(EncodeCp932(text).size());
}

std::string SjisLeft(std::string_view text, int n) { return CutBytes(text, 0, n); }

std::string SjisRight(std::string_view text, int n) {
  long len = SjisLen(text);
  return CutBytes(text, std::max(0L, len - n), len);
}

std::string SjisMid(std::string_view text, int start, int length) {
  long from = std::max(1, start) - 1;
  return CutBytes(text, from, from + std::max(0, length));
}

std::string FixLeftBytes(std::string_view text, int w) {
  return SjisLeft(std::string(text) + std::string(static_cast<size_t>(std::max(0, w)), ' '), w);
}

std::string FixRightBytes(std::string_view text, int w) {
  return SjisRight(std::string(static_cast<size_t>(std::max(0, w)), ' ') + std::string(text), w);
}

std::vector<std::string> WrapToWidth(std::string_view text, int width) {
  std::string trimmed = Trim(text);
  std::vector<std::string> lines(1);
  std::vector<int> widths(1, 0);
  int running = 0;
  for (const CharPiece& p : Pieces(trimmed)) {
    int w = static_cast<int>(p.bytes.size());
    running += w;
    if (running <= width) {
      lines.back() += p.utf8;
      widths.back() += w;
    } else {
      lines.emplace_back(p.utf8);
      widths.push_back(w);
      running = w;
    }
  }
  for (size_t k = 0; k < lines.size(); ++k) {
    if (widths[k] < width) lines[k].append(static_cast<size_t>(width - widths[k]), ' ');
  }
  return lines;
}

std::string WrappedLine(std::string_view text, int width, int k) {
  std::vector<std::string> lines = WrapToWidth(text, width);
  if (k < 1 || static_cast<size_t>(k) > lines.size()) return {};
  return lines[static_cast<size_t>(k - 1)];
}

namespace {
bool IsOneOf(std::string_view ch, std::string_view delimiters) {
  for (size_t i = 0; i < delimiters.size();) {
    size_t len = CharLengthAt(delimiters, i);
    if (delimiters.substr(i, len) == ch) return true;
    i += len;
  }
  return false;
}
}  // namespace

int CountDelimiters(std::string_view text, std::string_view delimiters) {
  int count = 0;
  for (size_t i = 0; i < text.size();) {
    size_t len = CharLengthAt(text, i);
    if (IsOneOf(text.substr(i, len), delimiters)) ++count;
    i += len;
  }
  return count;
}

std::vector<std::string> SplitByDelimiter(std::string_view text, std::string_view delimiters) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t i = 0; i < text.size();) {
    size_t len = CharLengthAt(text, i);
    if (IsOneOf(text.substr(i, len), delimiters)) {
      pieces.emplace_back(text.substr(start, i - start));
      start = i + len;
    }
    i += len;
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

SplitAtFirstResult SplitAtFirst(std::string_view text, std::string_view delimiter) {
  SplitAtFirstResult result;
  size_t at = text.find(delimiter);
  // A byte match must start on a character boundary.
  while (at != std::string_view::npos && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
    at = text.find(delimiter, at + 1);
  }
  if (delimiter.empty() || at == std::string_view::npos) return result;
  result.position = CharCount(text.substr(0, at)) + 1;
  result.before = std::string(text.substr(0, at));
  result.after = std::string(text.substr(at + delimiter.size()));
  return result;
}

int CharCount(std::string_view text) {
  int count = 0;
  for (size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) ++count;
  return count;
}

std::string LeftCharsOf(std::string_view text, int n) {
  size_t i = 0;
  for (int k = 0; k < n && i < text.size(); ++k) i += CharLengthAt(text, i);
  return std::string(text.substr(0, i));
}

std::string RightCharsOf(std::string_view text, int n) {
  int count = CharCount(text);
  if (n >= count) return std::string(text);
  size_t i = 0;
  for (int k = 0; k < count - n; ++k) i += CharLengthAt(text, i);
  return std::string(text.substr(i));
}

std::string RightChars(std::string_view text, int n) {
  return RightCharsOf(std::string(static_cast<size_t>(std::max(0, n)), ' ') + std::string(text), n);
}

std::string LeftChars(std::string_view text, int n) {
  return LeftCharsOf(std::string(text) + std::string(static_cast<size_t>(std::max(0, n)), ' '), n);
}

std::string Number3(long long n) {
  std::string text(1, ' ');
  text += std::to_string(n);
  return RightChars(text, 3);
}

std::string Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

std::string TrimLeft(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  return std::string(text.substr(i));
}

std::string TrimRight(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && IsSpace(text[end - 1])) --end;
  return std::string(text.substr(0, end));
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string ShowControlCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    if (u < 0x20) {
      AppendUtf8(out, 0x2400 + u);
    } else if (u == 0x7F) {
      AppendUtf8(out, 0x2421);
    } else {
      out += c;
    }
  }
  return out;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace k2v
