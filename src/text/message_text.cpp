#include "text/message_text.hpp"

namespace k2v {

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string text;
  text.reserve(pattern.size());
  size_t next = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      text += pattern[i];
      continue;
    }
    if (pattern[i + 1] == '%') {
      text += '%';
      ++i;
      continue;
    }
    // "%s", or "%" digits "$s".
    size_t end = i + 1, index = next;
    if (pattern[end] >= '1' && pattern[end] <= '9') {
      size_t number = 0;
      while (end < pattern.size() && pattern[end] >= '0' && pattern[end] <= '9') {
        number = number * 10 + static_cast<size_t>(pattern[end++] - '0');
      }
      if (end + 1 >= pattern.size() || pattern[end] != '$') {
        text += pattern[i];
        continue;
      }
      ++end;
      index = number - 1;
    }
    if (pattern[end] != 's' || index >= args.size()) {
      text += pattern[i];
      continue;
    }
    text += *(args.begin() + index);
    next = index + 1;
    i = end;
  }
  return text;
}

}  // namespace k2v
