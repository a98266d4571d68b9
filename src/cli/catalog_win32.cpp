// The catalog built into the program (catalog_data.cpp, made from
// po/ja.po by the build), chosen by the user's language.

#include "cli/catalog.hpp"

namespace k2v {

namespace {

// The catalog in use; set once by SetUpMessageCatalog.
const MoCatalog*& ActiveCatalog() {
  static const MoCatalog* active = nullptr;
  return active;
}

}  // namespace

void SetUpMessageCatalog() {
  static const MoCatalog japanese(std::string_view(kJapaneseCatalog, kJapaneseCatalogSize));
  ActiveCatalog() = UserMessageLanguage() == MessageLanguage::Japanese ? &japanese : nullptr;
}

const char* Translate(const char* english) {
  const MoCatalog* catalog = ActiveCatalog();
  const char* found = catalog ? catalog->Find(english) : nullptr;
  return found ? found : english;
}

const char* TranslatePlural(const char* one, const char* many, unsigned long n) {
  const MoCatalog* catalog = ActiveCatalog();
  const char* found = catalog ? catalog->FindPlural(one, n) : nullptr;
  return found ? found : n == 1 ? one : many;
}

}  // namespace k2v
