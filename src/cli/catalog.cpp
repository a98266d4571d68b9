#include "cli/catalog.hpp"

#include "platform/system_folders.hpp"

namespace k2v {

MessageLanguage ChooseMessageLanguage(std::string_view lcAll, std::string_view lcMessages, std::string_view lang,
                                      std::string_view interfaceLanguage) {
  std::string_view chosen = interfaceLanguage;
  for (std::string_view variable : {lang, lcMessages, lcAll}) {
    if (!variable.empty()) chosen = variable;
  }
  return chosen.substr(0, 2) == "ja" ? MessageLanguage::Japanese : MessageLanguage::English;
}

MessageLanguage UserMessageLanguage() {
  return ChooseMessageLanguage(EnvironmentText("LC_ALL"), EnvironmentText("LC_MESSAGES"), EnvironmentText("LANG"),
                               UserInterfaceLanguage());
}

}  // namespace k2v
