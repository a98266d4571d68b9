#pragma once
// The command line's message catalog: its own texts (help, usage errors,
// summaries, progress and warning lines) in the user's language, English
// or Japanese. The English text is the key; po/ja.po holds the Japanese,
// compiled by msgfmt when the program is built. Linux looks texts up with
// GNU gettext in the catalog installed beside the program
// (../share/locale, or locale/ in the build folder); Windows in the same
// catalog built into the program. The fixed Japanese messages of the run
// are shown as they are in every language.
//
// Mark a text with _("...") where it is printed, with P_("one", "many", n)
// where it depends on a count, and with N_("...") (text/message_text.hpp)
// where a lower layer defines it; scripts/update_po.sh collects the marked
// texts into po/kolbrix2vantor.pot and merges them into po/ja.po.

#include <string>
#include <string_view>

#include "text/message_catalog.hpp"
#include "text/message_text.hpp"

namespace k2v {

enum class MessageLanguage { English, Japanese };

// The language the user asks for: the first of LC_ALL, LC_MESSAGES and LANG
// that is set and not empty decides, Japanese when it begins with "ja"
// (whether or not that locale is installed); without any, the system's
// interface language (Windows), else English.
MessageLanguage ChooseMessageLanguage(std::string_view lcAll, std::string_view lcMessages, std::string_view lang,
                                      std::string_view interfaceLanguage);
// The same from this process's environment and system.
MessageLanguage UserMessageLanguage();

// Makes Translate answer in the user's language. Called once at the start of
// the program, before any thread starts; until then texts are English.
void SetUpMessageCatalog();

// The text in the language set up; the English text when the catalog has
// no translation.
const char* Translate(const char* english);
// The form for count n: one or many in English.
const char* TranslatePlural(const char* one, const char* many, unsigned long n);

}  // namespace k2v

// The text in the user's language.
#define _(english) ::k2v::Translate(english)
// The form of the text for the count, in the user's language.
#define P_(one, many, n) ::k2v::TranslatePlural(one, many, n)
