// The CP932 codec and the byte cuts of Vantor's columns.
//  - Decoding any bytes gives well-formed text whose escapes stand only for
//    bytes from 0x80 on.
//  - Encoding it again gives the same bytes, except where CP932 can write a
//    character in two ways (the NEC and IBM extension duplicates): there the
//    codec writes one chosen code, so the bytes may differ but are as many,
//    and (unless the text holds bytes that are no part of a character)
//    decode to the same text and encode to themselves.
//  - The bytes of a text are those of its characters one by one, and
//    SjisLen counts them.
//  - SjisMid gives texts that encode to exactly the
//    cut bytes of the encoded text, for cut positions taken from the input,
//    over the decoded text and over a text of arbitrary characters (among
//    them characters CP932 cannot write, and escapes).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "test_support_core.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

using k2v::test::Check;
using k2v::test::Escaped;

namespace {

void CheckEscapes(std::string_view text) {
  for (size_t i = 0; i < text.size(); i += k2v::Utf8CharLength(text, i)) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    const auto b1 = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    // U+DC00..U+DC7F would be an escape of an ASCII byte, which decodes as itself.
    Check(!(b0 == 0xED && b1 >= 0xB0 && b1 <= 0xB1), "decoding made an escape of a byte below 0x80");
  }
}

void CheckRoundTrip(std::string_view bytes) {
  const std::string text = k2v::test::FromSjis(bytes);
  Check(k2v::test::IsValidUtf8(text), "decoded text is not well-formed UTF-8: " + Escaped(text));
  CheckEscapes(text);
  const std::string again = k2v::test::Sjis(text);
  if (again == bytes) return;
  Check(again.size() == bytes.size(),
        "round trip changed the length: " + Escaped(bytes) + " came back as " + Escaped(again));
  // A byte that is no part of a character (an escape) pairs with whatever
  // follows it when the bytes are read again; in front of a character whose
  // code was changed it may pair differently, as any CP932 reader of the
  // original bytes would pair it wrongly too. Without such bytes the text
  // must come back exactly.
  const bool hasEscapes = text.find("\xED\xB2") != std::string::npos || text.find("\xED\xB3") != std::string::npos;
  if (!hasEscapes) {
    const std::string redecoded = k2v::test::FromSjis(again);
    Check(redecoded == text, "round trip changed the text: " + Escaped(bytes) + " came back as " + Escaped(again) +
                                 ", which decodes differently");
    Check(k2v::test::Sjis(redecoded) == again, "the codec's own bytes " + Escaped(again) + " do not round-trip");
  }
  // Where the bytes differ, a double-byte character was written in its other code.
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == again[i]) continue;
    const bool lead = static_cast<unsigned char>(bytes[i]) >= 0x81;
    const bool trail = i > 0 && static_cast<unsigned char>(bytes[i - 1]) >= 0x81;
    Check(lead || trail, "round trip changed a single byte at " + std::to_string(i) + " of " + Escaped(bytes));
  }
}

// The text of characters spelt by the input read as 16-bit code points: any
// BMP character, the escapes U+DC00..U+DCFF included, other surrogates left out.
std::string ArbitraryText(std::string_view bytes) {
  std::string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t cp = (static_cast<unsigned char>(bytes[i]) << 8) | static_cast<unsigned char>(bytes[i + 1]);
    if (cp >= 0xD800 && cp <= 0xDFFF && !(cp >= 0xDC00 && cp <= 0xDCFF)) cp = 0xFFFD;
    k2v::AppendUtf8(text, cp);
  }
  return text;
}

std::string ByteCut(const std::string& bytes, long from, long count) {
  from = std::clamp(from, 0L, static_cast<long>(bytes.size()));
  count = std::max(0L, count);
  return bytes.substr(static_cast<size_t>(from), static_cast<size_t>(count));
}

void CheckCuts(const std::string& text, std::string_view params, const std::string& what) {
  const std::string bytes = k2v::test::Sjis(text);
  const long len = static_cast<long>(bytes.size());
  Check(k2v::SjisLen(text) == len,
        what + ": SjisLen " + std::to_string(k2v::SjisLen(text)) + " for " + std::to_string(len) + " bytes");

  std::string joined;
  for (size_t i = 0; i < text.size(); i += k2v::Utf8CharLength(text, i)) {
    joined += k2v::EncodeCp932Char(std::string_view(text).substr(i, k2v::Utf8CharLength(text, i)));
  }
  Check(joined == bytes, what + ": the characters' bytes one by one differ from the text's bytes");

  std::vector<long> positions = {-1, 0, 1, len - 1, len, len + 1};
  for (unsigned char c : params.substr(0, std::min<size_t>(params.size(), 4))) {
    positions.push_back(len > 0 ? static_cast<long>(c) % (len + 2) : c % 3);
  }
  for (long start : positions) {
    for (long length : {-1L, 0L, 1L, 2L, len}) {
      const std::string mid = k2v::test::Sjis(k2v::SjisMid(text, static_cast<int>(start), static_cast<int>(length)));
      const long from = std::max(1L, start) - 1;
      Check(mid == ByteCut(bytes, from, length), what + ": SjisMid(" + std::to_string(start) + ", " +
                                                     std::to_string(length) + ") encodes to " + Escaped(mid));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckRoundTrip(bytes);
  CheckCuts(k2v::test::FromSjis(bytes), bytes, "decoded text");
  CheckCuts(ArbitraryText(bytes), bytes.substr(size / 2), "arbitrary text");
  return 0;
}
