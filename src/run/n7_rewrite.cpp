#include "run/n7_rewrite.hpp"

#include <string>

#include "platform/files.hpp"
#include "run/number_format.hpp"
#include "run/output_file.hpp"
#include "run/record_reader.hpp"
#include "run/sjis_text.hpp"

namespace k2v {

namespace {

// The code ranges of Kolbrix's X7 codes and what Vantor numbers them, in the
// order they are tested: a code from first to last becomes code + offset, or
// the fixed code when one is given.
struct CodeRange {
  int first;
  int last;
  int offset;
  const char* fixed;
};

constexpr CodeRange kCodeTable[] = {
    {1, 2, 10, nullptr},  {3, 3, 0, "21"},       {4, 4, 0, "24"},       {6, 6, 0, "22"},
    {9, 9, 0, "16"},      {11, 11, 0, "45"},     {12, 12, 0, "10"},     {16, 16, 0, "17"},
    {17, 17, 0, "20"},    {18, 18, 0, "23"},     {19, 23, 6, nullptr},  {24, 28, 16, nullptr},
    {29, 31, 17, nullptr}, {32, 37, 28, nullptr}, {38, 43, 42, nullptr}, {44, 44, 0, "90"},
};

}  // namespace

std::string VantorN7Code(const std::string& kolbrixCode) {
  const std::string raw = FixLeftBytes(kolbrixCode, 2);
  long long v = 0;
  // The raw code is two bytes, so a value that is not whole lies in no range.
  if (!AsWholeNumber(NumericValue(raw), v)) return raw;
  for (const CodeRange& range : kCodeTable) {
    if (v >= range.first && v <= range.last) return range.fixed ? range.fixed : std::to_string(v + range.offset);
  }
  return raw;
}

std::string N7Line(const std::array<std::string, 8>& f) {
  std::string line;
  line += FixRightBytes(Trim(f[1]), 3) + ",";
  line += FixLeftBytes(f[2], 6) + ",";
  line += VantorN7Code(f[3]) + ",";
  line += FixRightBytes(Trim(f[4]), 7) + ",";
  line += FixRightBytes(Trim(f[5]), 7) + ",";
  line += FixLeftBytes(f[6], 8) + ",";
  line += FixLeftBytes(f[7], 8);
  return line;
}

void RewriteN7Codes(const std::string& destinationFolder) {
  const std::string n7Path = destinationFolder + "N7.TXT";
  const std::string workPath = destinationFolder + "N7_WK.TXT";
  // A missing or empty N7.TXT is left to the final names stage.
  if (FileSize(n7Path) == 0) return;

  RecordReader reader(destinationFolder);
  if (reader.OpenOrDropEmpty(n7Path)) return;
  OutputFile work(workPath);
  std::array<std::string, 8> fields;
  for (;;) {
    reader.ReadRecord(7, 0);
    if (reader.RecordPos[0] == RecordReader::kEnd) break;
    for (size_t k = 1; k <= 7; ++k) fields[k] = reader.Fields[k];
    work.WriteLine(N7Line(fields));
  }
  reader.Close();
  work.Close();
  DeleteFileIfExists(n7Path);
  RenameReplacing(workPath, n7Path);
}

}  // namespace k2v
