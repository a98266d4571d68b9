#include <iostream>

#include "platform/console_text.hpp"

namespace k2v {

struct StandardText::Streams {};

StandardText::StandardText() = default;
StandardText::~StandardText() = default;

std::ostream& StandardText::out() { return std::cout; }
std::ostream& StandardText::err() { return std::cerr; }

}  // namespace k2v
