// The catalog through GNU gettext (glibc's libintl), installed as
// share/locale/ja/LC_MESSAGES/kolbrix2vantor.mo.

#include <libintl.h>
#include <locale.h>

#include <cstdlib>
#include <cstring>

#include "cli/catalog.hpp"
#include "platform/files.hpp"
#include "platform/system_folders.hpp"

namespace k2v {

namespace {

constexpr const char* kDomain = "kolbrix2vantor";

// The build names the installation's catalog folder relative to bin/.
#ifndef K2V_LOCALE_FROM_PROGRAM
#define K2V_LOCALE_FROM_PROGRAM "../share/locale"
#endif

// The folder of the catalogs: locale/ beside the program in the build
// folder, else where the installation puts them beside bin/.
std::string CatalogFolder() {
  const std::string program = ProgramFolder();
  const std::string built = JoinPath(program, "locale");
  if (FolderExists(built)) return built;
  return JoinPath(program, K2V_LOCALE_FROM_PROGRAM);
}

}  // namespace

void SetUpMessageCatalog() {
  // English needs no catalog: with the "C" locale that a program starts in,
  // gettext answers with the English text.
  if (UserMessageLanguage() != MessageLanguage::Japanese) return;
  const std::string folder = CatalogFolder();
  bindtextdomain(kDomain, folder.c_str());
  // The program's texts are UTF-8 whatever the user's locale.
  bind_textdomain_codeset(kDomain, "UTF-8");
  // gettext takes its language from the messages locale; a Japanese locale
  // that is not installed leaves it "C", where gettext translates nothing.
  // Then the built-in C.UTF-8 with gettext's own language list does.
  const char* locale = setlocale(LC_MESSAGES, "");
  if (!locale || std::strcmp(locale, "C") == 0 || std::strcmp(locale, "POSIX") == 0) {
    setlocale(LC_MESSAGES, "C.UTF-8");
  }
  setenv("LANGUAGE", "ja", 1);
}

const char* Translate(const char* english) { return dgettext(kDomain, english); }

const char* TranslatePlural(const char* one, const char* many, unsigned long n) {
  return dngettext(kDomain, one, many, n);
}

}  // namespace k2v
