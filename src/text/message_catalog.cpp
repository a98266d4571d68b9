#include "text/message_catalog.hpp"

#include <cstdint>
#include <cstring>

namespace k2v {

namespace {

constexpr uint32_t kMoMagic = 0x950412DE;

// The little-endian 32-bit number at the place.
uint32_t Word(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (size_t k = 4; k-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + k]);
  return value;
}

}  // namespace

// The file: a magic number, a revision, the count of texts, then the places
// of two tables of (length, offset) pairs, the English texts sorted by their
// bytes and their translations in the same order. Little-endian, as msgfmt
// writes it on the machines that build the program.
MoCatalog::MoCatalog(std::string_view bytes) : bytes_(bytes) {
  auto word = [&](size_t at) { return Word(bytes, at); };
  if (bytes.size() < 20 || word(0) != kMoMagic) return;
  const size_t count = word(8), originals = word(12), translations = word(16);
  for (size_t table : {originals, translations}) {
    if (table > bytes.size() || count > (bytes.size() - table) / 8) return;
  }
  originals_ = originals;
  translations_ = translations;
  count_ = count;
  // Every text must lie inside the file and end with its NUL.
  for (size_t i = 0; i < count; ++i) {
    for (size_t table : {originals, translations}) {
      const size_t length = word(table + 8 * i), offset = word(table + 8 * i + 4);
      if (offset > bytes.size() || length >= bytes.size() - offset || bytes[offset + length] != '\0') {
        count_ = 0;
        return;
      }
    }
  }
}

std::string_view MoCatalog::String(size_t table, size_t index) const {
  const size_t at = table + 8 * index;
  return bytes_.substr(Word(bytes_, at + 4), Word(bytes_, at));
}

std::string_view MoCatalog::Lookup(const char* english) const {
  size_t low = 0, high = count_;
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    // A plural's key is its English forms separated by NUL: the first decides.
    const int order = std::strcmp(english, String(originals_, middle).data());
    if (order == 0) return String(translations_, middle);
    if (order < 0) high = middle;
    else low = middle + 1;
  }
  return {};
}

const char* MoCatalog::Find(const char* english) const {
  const std::string_view found = Lookup(english);
  return found.empty() ? nullptr : found.data();
}

const char* MoCatalog::FindPlural(const char* one, unsigned long n) const {
  const std::string_view found = Lookup(one);
  if (found.empty()) return nullptr;
  const size_t second = found.find('\0');
  if (second == std::string_view::npos || n == 1) return found.data();
  return found.data() + second + 1;
}

}  // namespace k2v
