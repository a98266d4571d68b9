#include "cli/terminal_front_end.hpp"

#include <iostream>
#include <string>

namespace k2v {

TerminalFrontEnd::TerminalFrontEnd(std::ostream& out, std::ostream& err, bool assumeYes, bool interactive)
    : out_(out), err_(err), assumeYes_(assumeYes), interactive_(interactive) {}

MessageAnswer TerminalFrontEnd::ShowMessage(const std::string& text, const std::string& title, MessageIcon,
                                            MessageButtons buttons) {
  if (!title.empty()) {
    err_ << title << ": ";
  }
  if (buttons == MessageButtons::Ok) {
    err_ << text << "\n";
    return MessageAnswer::Ok;
  }
  if (assumeYes_) {
    err_ << text << " y\n";
    return MessageAnswer::Yes;
  }
  if (!interactive_) {
    err_ << text << " n\n";
    if (!noTerminalHint_.empty()) err_ << noTerminalHint_ << "\n";
    return MessageAnswer::No;
  }
  err_ << text << " [y/N] " << std::flush;
  std::string line;
  if (!std::getline(std::cin, line)) return MessageAnswer::No;
  return (line == "y" || line == "Y" || line == "yes" || line == "Yes") ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace k2v
