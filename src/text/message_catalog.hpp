#pragma once
// The message catalogs that msgfmt compiles from po/LANG.po, read from their
// bytes: the command line on Windows and the batch window look their texts
// up in them without GNU gettext.

#include <cstddef>
#include <string_view>

namespace k2v {

// A catalog compiled by msgfmt (GNU's .mo format), read from its bytes,
// which must outlive it. Bytes that are not a catalog give an empty one.
class MoCatalog {
 public:
  explicit MoCatalog(std::string_view bytes);
  // The translation of the text (the first form of a plural's), or nullptr.
  const char* Find(const char* english) const;
  // The form of a plural's translation for count n, or nullptr: the only
  // one, or the first for 1 and the second otherwise.
  const char* FindPlural(const char* one, unsigned long n) const;
  bool empty() const { return count_ == 0; }

 private:
  // The translation's bytes (forms separated by NUL), or an empty view.
  std::string_view Lookup(const char* english) const;
  std::string_view String(size_t table, size_t index) const;

  std::string_view bytes_;
  size_t count_ = 0;
  size_t originals_ = 0;
  size_t translations_ = 0;
};

// The Japanese catalog, po/ja.po compiled, as the build embeds it in the
// programs that use it (cmake/catalog.cmake).
extern const char kJapaneseCatalog[];
extern const std::size_t kJapaneseCatalogSize;

}  // namespace k2v
