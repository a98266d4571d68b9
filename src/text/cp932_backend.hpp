#pragma once
// The system's CP932 converter behind DecodeCp932 and EncodeCp932: iconv on
// Linux (cp932_iconv.cpp), the Windows code-page calls on Windows
// (cp932_win32.cpp). Both give the same bytes and the same text.

#include <cstddef>
#include <string>
#include <string_view>

namespace k2v::cp932_backend {

// Appends the text of a run of CP932 bytes that starts with a byte of 0x80 or
// above and holds no byte below 0x40. A byte that does not begin a valid
// character (or begins one cut off at the end) is kept on its own
// (AppendCp932Byte) and the conversion goes on with the next byte. With
// partial set, a character cut off at the end is left for the next call
// instead; returns how many bytes were left (0 without partial).
size_t DecodeRun(std::string_view bytes, std::string& out, bool partial = false);

// Appends the CP932 bytes of a run of program text that holds no ASCII and no
// escapes. A character CP932 cannot write, and a broken UTF-8 sequence (as
// long as its first byte says), becomes one "?".
void EncodeRun(std::string_view text, std::string& out);

}  // namespace k2v::cp932_backend
