#include <string>

#include "convert/boring_records.hpp"
#include "convert/table_frame.hpp"
#include "run/number_format.hpp"
#include "run/sjis_text.hpp"

namespace k2v {
namespace {

constexpr int kX7FieldCount = 68;

// The trimmed text of the first field from..to (inclusive) that is not blank,
// starting at from; next is set to the field after it (to + 1 when none).
std::string FirstNonBlank(const RecordReader& r, int from, int to, int& next) {
  for (int k = from; k <= to; ++k) {
    std::string value = Trim(FieldOf(r, k));
    if (!value.empty()) {
      next = k + 1;
      return value;
    }
  }
  next = to + 1;
  return {};
}

// Two decimals in seven columns; a text that is not a number stays as it is.
std::string Fixed7(const std::string& text) { return RightChars(FormatIfNumber(text, NumberPattern::Fixed2), 7); }

}  // namespace

void ConvertX7(ConversionContext& ctx) {
  ConvertTableFile(ctx, "X7.TXT", "N7.txt", kX7FieldCount, [](const RecordReader& r, OutputFile& out, long long& n) {
    int next = 0;
    const std::string code = FirstNonBlank(r, 9, 28, next);
    const std::string firstText = FirstNonBlank(r, 49, 68, next);
    const std::string secondText = FirstNonBlank(r, next, 68, next);
    out.WriteLine(JoinFields({RightChars(std::to_string(n), 3), LeftChars(FieldOf(r, 2), 6), RightChars(code, 2),
                              Fixed7(FieldOf(r, 5)), Fixed7(FieldOf(r, 6)), LeftChars(firstText, 8),
                              LeftChars(secondText, 8)}));
  });
}

}  // namespace k2v
