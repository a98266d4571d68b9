#include "window/japanese_catalog.hpp"

#include <string_view>

#include "text/message_catalog.hpp"

namespace k2v {

const char* JapaneseText(const char* english) {
  static const MoCatalog japanese(std::string_view(kJapaneseCatalog, kJapaneseCatalogSize));
  const char* found = japanese.Find(english);
  return found ? found : english;
}

}  // namespace k2v
