#include "text/sjis_text.hpp"

#include <algorithm>

#include "text/cp932.hpp"

namespace k2v {
namespace {

// Calls visit(utf8, bytes) for each character of the text with its CP932
// bytes, until visit returns false. Nothing is collected, so a long text
// costs no memory of its own.
template <class Visit>
void ForEachCharacter(std::string_view text, Visit visit) {
  for (size_t i = 0; i < text.size();) {
    const size_t len = Utf8CharLength(text, i);
    const std::string_view ch = text.substr(i, len);
    // ASCII is its own byte; everything else goes through the codec.
    if (len == 1 && static_cast<unsigned char>(ch[0]) < 0x80) {
      if (!visit(ch, ch)) return;
    } else {
      char bytes[4];
      const size_t size = EncodeCp932CharInto(ch, bytes);
      if (size <= sizeof bytes ? !visit(ch, std::string_view(bytes, size))
                               : !visit(ch, std::string_view(EncodeCp932Char(ch)))) {
        return;
      }
    }
    i += len;
  }
}

// The bytes [from, to) of the CP932 form as text, appended. A character cut
// at either edge keeps its bytes as escapes: bytes are never paired anew.
// Returns how many bytes were appended.
long CutBytesInto(std::string& out, std::string_view text, long from, long to) {
  if (to <= from) return 0;
  long pos = 0;
  long taken = 0;
  ForEachCharacter(text, [&](std::string_view utf8, std::string_view bytes) {
    const long start = pos;
    const long end = pos + static_cast<long>(bytes.size());
    pos = end;
    if (end <= from) return true;
    if (start >= to) return false;
    if (start >= from && end <= to) {
      out += utf8;
      taken += end - start;
    } else {
      for (long b = std::max(start, from); b < std::min(end, to); ++b) {
        AppendCp932Byte(out, static_cast<unsigned char>(bytes[static_cast<size_t>(b - start)]));
        ++taken;
      }
    }
    return true;
  });
  return taken;
}

std::string CutBytes(std::string_view text, long from, long to) {
  std::string out;
  CutBytesInto(out, text, from, to);
  return out;
}

// The wrapped lines 1 to maxLines (all when maxLines is 0), each padded.
std::vector<std::string> Wrap(std::string_view text, int width, size_t maxLines) {
  std::vector<std::string> lines;
  LineWrapper wrapper(width, [&](const std::string& line) {
    lines.push_back(line);
    return maxLines == 0 || lines.size() < maxLines;
  });
  wrapper.Add(text);
  wrapper.Finish();
  return lines;
}

bool IsSpace(char c) { return c == ' '; }

}  // namespace

int SjisLen(std::string_view text) {
  size_t ascii = 0;
  while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
  if (ascii == text.size()) return static_cast<int>(ascii);
  long len = static_cast<long>(ascii);
  ForEachCharacter(text.substr(ascii), [&](std::string_view, std::string_view bytes) {
    len += static_cast<long>(bytes.size());
    return true;
  });
  return static_cast<int>(len);
}

int DisplayColumns(std::string_view text) {
  long columns = 0;
  ForEachCharacter(text, [&](std::string_view utf8, std::string_view bytes) {
    // CP932 writes a character it does not have as "?".
    const bool unknown = bytes == "?" && utf8 != "?";
    columns += unknown ? 2 : static_cast<long>(bytes.size());
    return true;
  });
  return static_cast<int>(columns);
}

long AppendSjisBytes(std::string& out, std::string_view text, long from, long to) {
  // Pure ASCII: a byte is a character.
  size_t ascii = 0;
  while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
  if (ascii == text.size()) {
    const long size = static_cast<long>(text.size());
    const long a = std::clamp(from, 0L, size);
    const long b = std::clamp(to, 0L, size);
    if (b <= a) return 0;
    out.append(text.substr(static_cast<size_t>(a), static_cast<size_t>(b - a)));
    return b - a;
  }
  return CutBytesInto(out, text, from, to);
}

std::string SjisMid(std::string_view text, int start, int length) {
  long from = std::max(1, start) - 1;
  return CutBytes(text, from, from + std::max(0, length));
}

std::vector<std::string> WrapToWidth(std::string_view text, int width) { return Wrap(text, width, 0); }

LineWrapper::LineWrapper(int width, std::function<bool(const std::string&)> onLine)
    : width_(width), onLine_(std::move(onLine)) {}

void LineWrapper::Emit() {
  if (lineWidth_ < width_) line_.append(static_cast<size_t>(width_ - lineWidth_), ' ');
  if (!stopped_ && !onLine_(line_)) stopped_ = true;
  line_.clear();
  lineWidth_ = 0;
}

void LineWrapper::Add(std::string_view piece) {
  if (stopped_) return;
  // The text is trimmed: spaces before it are dropped, and those after it
  // wait until text follows them.
  auto put = [&](std::string_view utf8, int w) {
    if (lineWidth_ + w > width_) Emit();
    line_ += utf8;
    lineWidth_ += w;
  };
  ForEachCharacter(piece, [&](std::string_view utf8, std::string_view bytes) {
    if (utf8.size() == 1 && utf8[0] == ' ') {
      if (sawText_) ++spacesPending_;
      return true;
    }
    sawText_ = true;
    for (; spacesPending_ > 0 && !stopped_; --spacesPending_) put(" ", 1);
    spacesPending_ = 0;
    put(utf8, static_cast<int>(bytes.size()));
    return !stopped_;
  });
}

void LineWrapper::Finish() {
  Emit();
  stopped_ = false;
  sawText_ = false;
  spacesPending_ = 0;
}

std::string WrappedLine(std::string_view text, int width, int k) {
  if (k < 1) return {};
  std::vector<std::string> lines = Wrap(text, width, static_cast<size_t>(k));
  if (static_cast<size_t>(k) > lines.size()) return {};
  return lines[static_cast<size_t>(k - 1)];
}

namespace {
bool IsOneOf(std::string_view ch, std::string_view delimiters) {
  for (size_t i = 0; i < delimiters.size();) {
    size_t len = Utf8CharLength(delimiters, i);
    if (delimiters.substr(i, len) == ch) return true;
    i += len;
  }
  return false;
}
}  // namespace

std::vector<std::string> SplitByDelimiter(std::string_view text, std::string_view delimiters) {
  std::vector<std::string> pieces;
  size_t start = 0;
  // An ASCII delimiter is no byte of another character, and a byte that is
  // no part of one (a name in another code) must not hide one after it:
  // such delimiters are found byte by byte.
  if (std::all_of(delimiters.begin(), delimiters.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    for (size_t cut; (cut = text.find_first_of(delimiters, start)) != std::string_view::npos; start = cut + 1) {
      pieces.emplace_back(text.substr(start, cut - start));
    }
    pieces.emplace_back(text.substr(start));
    return pieces;
  }
  for (size_t i = 0; i < text.size();) {
    size_t len = Utf8CharLength(text, i);
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
  for (size_t i = 0; i < text.size(); ++count) {
    i += static_cast<unsigned char>(text[i]) < 0x80 ? 1 : Utf8CharLength(text, i);
  }
  return count;
}

std::string LeftCharsOf(std::string_view text, int n) {
  size_t i = 0;
  for (int k = 0; k < n && i < text.size(); ++k) i += Utf8CharLength(text, i);
  return std::string(text.substr(0, i));
}

std::string_view TrimView(std::string_view text) { return TrimRightView(TrimLeftView(text)); }

std::string_view TrimLeftView(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  return text.substr(i);
}

std::string_view TrimRightView(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && IsSpace(text[end - 1])) --end;
  return text.substr(0, end);
}

std::string Trim(std::string_view text) { return std::string(TrimView(text)); }

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

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace k2v
