#pragma once
// The layer table: each layer of X1.TXT becomes one line of G10.txt or one
// line each of D10B.txt and D10.txt, with the codes soil/soil_codes.hpp gives
// its soil description.

#include <string>

namespace k2v {

// Vantor's three-column main code: three spaces for -1, else the last three
// digits with zeros in front (7 gives 007).
std::string MainCodeText(int code);

}  // namespace k2v
