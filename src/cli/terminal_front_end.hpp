#pragma once
// The command line's answers to what a run asks: messages on stderr, the
// closing status on stdout, the folder question on the terminal.

#include <iosfwd>
#include <string>

#include "run/front_end.hpp"

namespace k2v {

class TerminalFrontEnd : public FrontEnd {
 public:
  // assumeYes answers the folder question with Yes; otherwise it is asked on
  // the terminal when input is one, and answered No when not.
  TerminalFrontEnd(std::ostream& out, std::ostream& err, bool assumeYes, bool interactive);

  void SetStatus(const std::string& text) override { status_ = text; }
  void ProcessPendingEvents() override {}
  MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                            MessageButtons buttons) override;
  void SetBusy(bool) override {}
  void FocusAndSelect(PathBox) override {}

  const std::string& status() const { return status_; }
  // The line that follows a question answered No for want of a terminal.
  void SetNoTerminalHint(std::string hint) { noTerminalHint_ = std::move(hint); }

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool assumeYes_;
  bool interactive_;
  std::string status_;
  std::string noTerminalHint_;
};

}  // namespace k2v
