#include "run/control_files.hpp"

#include "platform/files.hpp"
#include "text/number_format.hpp"
#include "io/output_file.hpp"
#include "io/record_reader.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// Items 5 and 6 of the source CNT.TXT; both empty when the file is missing or empty.
struct ControlSettings {
  std::string setting5;
  std::string setting6;
};

ControlSettings ReadControlSettings(const std::string& sourceFolder, const std::string& destinationFolder) {
  ControlSettings settings;
  const std::string path = JoinPath(sourceFolder, "CNT.TXT");
  bool first = true;
  ForEachRecord(path, 6, destinationFolder, [&](const RecordReader& r) {
    if (!first) return;
    settings.setting5 = r.Fields[5];
    settings.setting6 = r.Fields[6];
    first = false;
  });
  return settings;
}

}  // namespace

void WriteControlFiles(const std::string& sourceFolder, const std::string& destinationFolder,
                       const std::array<std::string, 3>& components345) {
  ControlSettings settings = ReadControlSettings(sourceFolder, destinationFolder);
  // Vantor knows no value of setting 5 above 20; such values become 2.
  if (CompareToInteger(NumericValue(settings.setting5), 20) > 0) settings.setting5 = "2";

  OutputFile cnt(JoinPath(destinationFolder, "CNT.TXT"));
  // Line 1 is the first two characters (not bytes) of the second folder level.
  cnt.WriteLine(LeftCharsOf(components345[0], 2));
  cnt.WriteLine(components345[1]);
  cnt.WriteLine(components345[2]);
  cnt.WriteLine("");
  cnt.WriteLine(settings.setting5);
  cnt.WriteLine(settings.setting6);
  for (int k = 0; k < 4; ++k) cnt.WriteLine("");
  cnt.Close();

  OutputFile cnt2(JoinPath(destinationFolder, "CNT2.TXT"));
  cnt2.WriteLine(settings.setting6);
  cnt2.WriteLine("0");
  cnt2.Close();
}

}  // namespace k2v
