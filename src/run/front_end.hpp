#pragma once
// What a conversion run asks of the user's front end (the window or the
// command line). Nothing in the core knows which one is calling.

#include <string>

namespace k2v {

enum class MessageIcon { Information, Exclamation, Question, Critical };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };
// The two path boxes of the window: Text2 (source) and Text1 (destination).
enum class PathBox { Source, Destination };

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;
  // Shows the status line text (Label3).
  virtual void SetStatus(const std::string& text) = 0;
  // Lets the window process its pending paint and input events once.
  virtual void ProcessPendingEvents() = 0;
  // Shows a message box and returns the button chosen. An empty title means
  // the program's default title.
  virtual MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                                    MessageButtons buttons) = 0;
  // Turns the busy (hourglass) pointer on or off.
  virtual void SetBusy(bool busy) = 0;
  // Moves the focus to a path box and selects its whole text.
  virtual void FocusAndSelect(PathBox box) = 0;
};

}  // namespace k2v
