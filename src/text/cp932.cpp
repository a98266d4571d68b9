#include "text/cp932.hpp"

#include "text/cp932_backend.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace k2v {
namespace {

constexpr char32_t kEscapeBase = 0xDC00;


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

namespace {

// The characters met so far, per thread, each asked of the system's converter
// once: a table lookup then stands for a converter call. The system converts
// one character at a time, the same at any place of a run (CP932 has no
// shift states), so the tables give exactly what the converter gives.
#ifdef _WIN32
// mingw's static runtime faults when a thread ends with a thread_local
// object that has a destructor; each thread's tables stay until the end.
#define K2V_THREAD_TABLE(Type, name) \
  thread_local Type* name##Pointer = nullptr; \
  if (!name##Pointer) name##Pointer = new Type(); \
  Type& name = *name##Pointer
#else
#define K2V_THREAD_TABLE(Type, name) \
  thread_local std::unique_ptr<Type> name##Pointer; \
  if (!name##Pointer) name##Pointer = std::make_unique<Type>(); \
  Type& name = *name##Pointer
#endif

// The text of a byte from 0x80 on read on its own: a lead byte (whose
// character the next byte completes) or a character of one byte (or the
// byte's escape).
struct SingleByte {
  unsigned char known = 0;  // 0: not asked yet
  bool lead = false;
  unsigned char size = 0;
  char text[5] = {};  // the text when it stands alone (for a lead byte: cut off at the end)
};
// The text of a lead byte with its next byte (0x40 and above).
struct BytePair {
  unsigned char known = 0;  // 0: not asked yet, 1: one character, 2: the lead byte begins none
  unsigned char size = 0;
  char text[6] = {};
};
struct DecodeTables {
  std::array<SingleByte, 0x80> single;
  std::array<BytePair, 0x80 * 0xC0> pair;
};

// The CP932 bytes of a code point from U+0080 to U+FFFF.
struct CodeBytes {
  unsigned char size = 0;  // 0: not asked yet
  char bytes[3] = {};
};
using EncodeTable = std::array<CodeBytes, 0x10000>;

template <class Entry>
bool Store(Entry& entry, char* text, std::string_view value) {
  if (value.size() > sizeof entry.text) return false;
  std::memcpy(text, value.data(), value.size());
  entry.size = static_cast<unsigned char>(value.size());
  return true;
}

const SingleByte& SingleOf(DecodeTables& tables, unsigned char b) {
  SingleByte& entry = tables.single[b - 0x80u];
  if (!entry.known) {
    const char byte = static_cast<char>(b);
    std::string text;
    entry.lead = cp932_backend::DecodeRun(std::string_view(&byte, 1), text, true) == 1;
    text.clear();
    cp932_backend::DecodeRun(std::string_view(&byte, 1), text);
    std::string escape;
    AppendCp932Byte(escape, b);
    // A byte always reads as at most one character; keep the escape otherwise.
    if (!Store(entry, entry.text, text)) Store(entry, entry.text, escape);
    entry.known = 1;
  }
  return entry;
}

const BytePair& PairOf(DecodeTables& tables, const SingleByte& lead, unsigned char b0, unsigned char b1) {
  BytePair& entry = tables.pair[(b0 - 0x80u) * 0xC0u + (b1 - 0x40u)];
  if (!entry.known) {
    const char bytes[2] = {static_cast<char>(b0), static_cast<char>(b1)};
    std::string text;
    cp932_backend::DecodeRun(std::string_view(bytes, 2), text);
    // A lead byte that begins no character with this byte is kept on its own
    // (as it reads alone), and the next byte is read anew.
    const std::string_view alone(lead.text, lead.size);
    if (std::string_view(text).substr(0, alone.size()) == alone || !Store(entry, entry.text, text)) {
      entry.known = 2;
    } else {
      entry.known = 1;
    }
  }
  return entry;
}

// The code point of a well-formed UTF-8 character of two or three bytes at
// ch (ch holds exactly its bytes), or -1.
inline long TwoOrThreeByteCodePoint(std::string_view ch) {
  auto b = [&](size_t k) { return static_cast<unsigned char>(ch[k]); };
  if (ch.size() == 2) {
    if ((b(1) & 0xC0) != 0x80) return -1;
    const long cp = ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    return cp < 0x80 ? -1 : cp;
  }
  if (ch.size() == 3) {
    if ((b(0) & 0xF0) != 0xE0 || (b(1) & 0xC0) != 0x80 || (b(2) & 0xC0) != 0x80) return -1;
    const long cp = ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    return cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF) ? -1 : cp;
  }
  return -1;
}

EncodeTable& ThreadEncodeTable() {
  K2V_THREAD_TABLE(EncodeTable, table);
  return table;
}

// Asks the system for the bytes of the code point cp (spelt ch) and keeps
// them in its entry; false when the table cannot hold them.
bool Fill(CodeBytes& entry, std::string_view ch) {
  std::string bytes;
  cp932_backend::EncodeRun(ch, bytes);
  if (bytes.empty() || bytes.size() > sizeof entry.bytes) return false;
  std::memcpy(entry.bytes, bytes.data(), bytes.size());
  entry.size = static_cast<unsigned char>(bytes.size());
  return true;
}

// The table's entry for one character that is no ASCII and no escape (ch
// holds the bytes Utf8CharLength gives it), or nullptr for a character the
// table does not hold (broken, or outside the Basic Multilingual Plane).
inline const CodeBytes* EntryOf(EncodeTable& table, std::string_view ch) {
  const long cp = TwoOrThreeByteCodePoint(ch);
  if (cp < 0) return nullptr;
  CodeBytes& entry = table[static_cast<size_t>(cp)];
  if (entry.size == 0 && !Fill(entry, ch)) return nullptr;
  return &entry;
}

// Appends the CP932 bytes of one character that is no ASCII and no escape.
void EncodeOne(EncodeTable& table, std::string_view ch, std::string& out) {
  if (const CodeBytes* entry = EntryOf(table, ch)) {
    out.append(entry->bytes, entry->size);
  } else {
    cp932_backend::EncodeRun(ch, out);
  }
}

// Appends the text of a run of bytes that starts with a byte from 0x80 on
// and holds none below 0x40, character by character, as
// cp932_backend::DecodeRun does; returns how many bytes were left.
size_t DecodeRunByCharacters(std::string_view bytes, std::string& out, bool partial) {
  K2V_THREAD_TABLE(DecodeTables, tables);
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80) {
      // Between double-byte characters ASCII reads as itself.
      out += static_cast<char>(b0);
      ++i;
      continue;
    }
    const SingleByte& single = SingleOf(tables, b0);
    if (single.lead) {
      if (i + 1 == n) {
        if (partial) return 1;
      } else if (static_cast<unsigned char>(bytes[i + 1]) >= 0x40) {
        const BytePair& pair = PairOf(tables, single, b0, static_cast<unsigned char>(bytes[i + 1]));
        if (pair.known == 1) {
          out.append(pair.text, pair.size);
          i += 2;
          continue;
        }
      }
    }
    out.append(single.text, single.size);
    ++i;
  }
  return 0;
}

}  // namespace

std::string EncodeCp932Char(std::string_view ch) {
  auto lead = static_cast<unsigned char>(ch[0]);
  if (lead < 0x80) return std::string(ch);
  int escaped = EscapedByteAt(ch, 0);
  if (escaped >= 0) return std::string(1, static_cast<char>(escaped));
  std::string bytes;
  EncodeOne(ThreadEncodeTable(), ch, bytes);
  return bytes;
}

size_t EncodeCp932CharInto(std::string_view ch, char (&bytes)[4]) {
  auto lead = static_cast<unsigned char>(ch[0]);
  if (lead < 0x80) {
    bytes[0] = static_cast<char>(lead);
    return 1;
  }
  int escaped = EscapedByteAt(ch, 0);
  if (escaped >= 0) {
    bytes[0] = static_cast<char>(escaped);
    return 1;
  }
  if (const CodeBytes* entry = EntryOf(ThreadEncodeTable(), ch)) {
    std::memcpy(bytes, entry->bytes, entry->size);
    return entry->size;
  }
  std::string text;
  cp932_backend::EncodeRun(ch, text);
  std::memcpy(bytes, text.data(), std::min(text.size(), sizeof bytes));
  return text.size();
}

size_t DecodeCp932Append(std::string_view bytes, std::string& out, bool complete) {
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
    size_t left = DecodeRunByCharacters(bytes.substr(i, runEnd - i), out, !complete && runEnd == n);
    if (left > 0) return n - left;
    i = runEnd;
  }
  return n;
}

std::string DecodeCp932(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  DecodeCp932Append(bytes, out);
  return out;
}

void EncodeCp932Append(std::string_view text, std::string& out) {
  // No character has more bytes in CP932 than in UTF-8: the bytes are
  // written in place, into room for all of them.
  size_t at = out.size();
  out.resize(at + text.size());
  size_t i = 0;
  const size_t n = text.size();
  EncodeTable* table = nullptr;
  while (i < n) {
    size_t start = i;
    while (i < n && static_cast<unsigned char>(text[i]) < 0x80) ++i;
    if (i > start) {
      std::memcpy(&out[at], text.data() + start, i - start);
      at += i - start;
    }
    if (i == n) break;
    int escaped = EscapedByteAt(text, i);
    if (escaped >= 0) {
      out[at++] = static_cast<char>(escaped);
      i += 3;
      continue;
    }
    const size_t len = Utf8CharLength(text, i);
    const std::string_view ch = text.substr(i, len);
    if (!table) table = &ThreadEncodeTable();
    if (const CodeBytes* entry = EntryOf(*table, ch)) {
      std::memcpy(&out[at], entry->bytes, entry->size);
      at += entry->size;
    } else {
      std::string bytes;
      cp932_backend::EncodeRun(ch, bytes);
      // Room for what is left, however many bytes the system wrote.
      if (bytes.size() > len) out.resize(out.size() + bytes.size() - len);
      std::memcpy(&out[at], bytes.data(), bytes.size());
      at += bytes.size();
    }
    i += len;
  }
  out.resize(at);
}

std::string EncodeCp932(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  EncodeCp932Append(text, out);
  return out;
}

}  // namespace k2v
