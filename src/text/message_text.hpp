#pragma once
// Texts of the program's own that the command line shows in the user's
// language (not the fixed Japanese messages, which every language shows as
// they are). The English text is the key of the message catalog, po/ja.po.
// N_ marks such a text where a lower layer defines it, so that
// scripts/update_po.sh finds it; the front end that prints it looks it up
// through a Translation. The command line marks its own texts with _ and P_
// (cli/catalog.hpp).

#include <initializer_list>
#include <string>
#include <string_view>

// The English text itself; marks it for the catalog.
#define N_(english) english

namespace k2v {

// How a front end finds the text in the user's language: the translation,
// or the English text itself.
using Translation = const char* (*)(const char* english);
inline const char* Untranslated(const char* english) { return english; }

// The pattern with its placeholders filled in, in the catalog's printf
// notation: "%s" takes the next argument, "%2$s" the second, "%%" is "%".
// A placeholder without its argument is left as it stands.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace k2v
