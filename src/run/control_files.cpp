#include "run/control_files.hpp"

#include <span>
#include <string_view>

#include "io/output_file.hpp"
#include "io/record_reader.hpp"
#include "platform/files.hpp"
#include "text/columns.hpp"
#include "text/number_format.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// Items 5 and 6 of the source CNT.TXT; both empty when the file is missing or empty.
struct ControlSettings {
  std::string setting5;
  std::string setting6;
};

ControlSettings ReadControlSettings(const std::string& sourceFolder) {
  ControlSettings settings;
  const std::string path = JoinPath(sourceFolder, "CNT.TXT");
  bool first = true;
  ForEachRecord(path, 6, [&](const RecordReader& r) {
    if (!first) return;
    settings.setting5 = r.Fields[5];
    settings.setting6 = r.Fields[6];
    first = false;
  });
  return settings;
}

// The lines of CNT.TXT and CNT2.TXT, one column each: the value each line
// takes and its format.
enum ControlValue { kComponent3, kComponent4, kComponent5, kSetting5, kSetting6, kEmpty, kZero, kValueCount };
constexpr Column kCntLines[] = {
    {kComponent3, ColumnFormat::FirstChars, 2},  // characters, not bytes
    {kComponent4, ColumnFormat::AsIs},
    {kComponent5, ColumnFormat::AsIs},
    {kEmpty, ColumnFormat::AsIs},
    {kSetting5, ColumnFormat::AsIs},
    {kSetting6, ColumnFormat::AsIs},
    {kEmpty, ColumnFormat::AsIs},
    {kEmpty, ColumnFormat::AsIs},
    {kEmpty, ColumnFormat::AsIs},
    {kEmpty, ColumnFormat::AsIs},
};
constexpr Column kCnt2Lines[] = {
    {kSetting6, ColumnFormat::AsIs},
    {kZero, ColumnFormat::AsIs},
};

void WriteLines(const std::string& path, std::span<const Column> lines,
                const std::array<std::string_view, kValueCount>& values) {
  OutputFile out(path);
  std::string line;
  for (const Column& column : lines) {
    line.clear();
    AppendColumn(line, column, values[static_cast<size_t>(column.value)]);
    out.WriteLine(line);
  }
  out.Close();
}

}  // namespace

void WriteControlFiles(const std::string& sourceFolder, const std::string& destinationFolder,
                       const std::array<std::string, 3>& components345) {
  ControlSettings settings = ReadControlSettings(sourceFolder);
  // Vantor knows no value of setting 5 above 20; such values become 2.
  if (CompareToInteger(NumericValue(settings.setting5), 20) > 0) settings.setting5 = "2";

  std::array<std::string_view, kValueCount> values;
  for (size_t k = 0; k < 3; ++k) values[kComponent3 + k] = components345[k];
  values[kSetting5] = settings.setting5;
  values[kSetting6] = settings.setting6;
  values[kEmpty] = "";
  values[kZero] = "0";
  WriteLines(JoinPath(destinationFolder, "CNT.TXT"), kCntLines, values);
  WriteLines(JoinPath(destinationFolder, "CNT2.TXT"), kCnt2Lines, values);
}

}  // namespace k2v
