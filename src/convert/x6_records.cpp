#include "convert/x6_records.hpp"

#include <memory>
#include <string>

#include "convert/boring_records.hpp"
#include "convert/radudi_setting.hpp"
#include "convert/table_frame.hpp"
#include "io/item_stream.hpp"
#include "io/output_file.hpp"
#include "io/record_reader.hpp"
#include "platform/files.hpp"
#include "text/columns.hpp"
#include "text/number_format.hpp"
#include "text/sjis_text.hpp"

namespace k2v {
namespace {

constexpr int kX6FieldCount = 68;
constexpr int kFirstItemField = 29;
constexpr int kLastItemField = 48;
// The line of D40.txt and G40.txt: which field each column takes, its format
// and its width. The flags say which items of the list the record names.
constexpr int kFlags = LineValues::kWorkedOut;
constexpr Column kD40Line[] = {
    {kLineNumber, ColumnFormat::Number, 3}, {2, ColumnFormat::LeftChars, 6},   {3, ColumnFormat::TwoDigitsOrText},
    {5, ColumnFormat::FixedOrText, 7},      {6, ColumnFormat::FixedOrText, 7}, {7, ColumnFormat::WholeOrText, 3},
    {8, ColumnFormat::WholeOrText, 3},      {kFlags, ColumnFormat::AsIs},
};
constexpr const char* kCannotConvert = "X6.TXT を変換できませんでした。";

using NameList = std::array<std::string, kX6ListSize>;

// Reads the 15 names of a list file: records of two items, the second is the
// name. Returns false with the warning text when the list cannot be used.
bool ReadItemList(const std::string& folder, const std::string& name, NameList& names, std::string& problem) {
  const std::string path = JoinPath(folder, name);
  if (!FileExists(path)) {
    problem = std::string(kCannotConvert) + name + " がありません: " + ShowControlCharacters(path);
    return false;
  }
  ItemStream stream(ReadFileBytes(path));
  for (std::string& entry : names) {
    if (stream.AtEnd()) {
      problem = std::string(kCannotConvert) + name + " の項目が" + std::to_string(kX6ListSize) +
                "行に足りません: " + ShowControlCharacters(path);
      return false;
    }
    stream.NextItem();
    entry = stream.NextItem();
  }
  return true;
}

bool LoadLists(const std::vector<std::string>& systemDirs, X6ItemLists& lists, std::string& problem) {
  std::string systemDir;
  std::string lookedAt;
  for (const std::string& dir : systemDirs) {
    bool found = false;
    try {
      found = FileExists(RadudiIniPath(dir));
    } catch (const FileError&) {
      // A folder that cannot be looked into holds no setting the program can
      // read: the next place in the order is taken.
    }
    if (found) {
      systemDir = dir;
      break;
    }
    lookedAt += (lookedAt.empty() ? "" : "、") + RadudiIniPath(dir);
  }
  if (systemDir.empty()) {
    problem = std::string(kCannotConvert) + "Radudi32.ini がありません: " + lookedAt;
    return false;
  }
  const std::string iniPath = RadudiIniPath(systemDir);
  if (FileSize(iniPath) <= 0) {
    problem = std::string(kCannotConvert) + "Radudi32.ini が空です: " + iniPath;
    return false;
  }
  lists.RadudiSettingPath = ReadRadudiSetting(systemDir);
  if (lists.RadudiSettingPath.empty()) {
    problem = std::string(kCannotConvert) + "Radudi32.ini の2行目にパターンデータのフォルダがありません: " + iniPath;
    return false;
  }
  // A folder written without its final separator (as a person editing the
  // file on this system writes it) gets one; names are appended directly.
  lists.RadudiSettingPath = JoinPath(lists.RadudiSettingPath, "");
  if (!ReadItemList(lists.RadudiSettingPath, "L9.txt", lists.L9Names, problem)) return false;
  if (!ReadItemList(lists.RadudiSettingPath, "L22.txt", lists.L22Names, problem)) return false;
  for (int b = 0; b < kX6ListSize; ++b) {
    const std::string l22 = Trim(lists.L22Names[static_cast<size_t>(b)]);
    bool inL9 = false;
    for (const std::string& l9 : lists.L9Names) inL9 = inL9 || Trim(l9) == l22;
    lists.L22OnlyFlags[static_cast<size_t>(b)] = !inL9;
  }
  return true;
}

// The item fields of a record, trimmed once: views of the reader's fields.
using ItemFields = std::array<std::string_view, kLastItemField - kFirstItemField + 1>;

// "1" for every list entry (trimmed) the record names among its item fields,
// "0" for the others.
// (Most item fields are empty: an empty one is compared only when a name is
// empty too.)
void ItemFlags(std::string& out, const ItemFields& items, const NameList& names) {
  out.assign(kX6ListSize, '0');
  bool emptyName = false;
  for (const std::string& name : names) emptyName = emptyName || name.empty();
  for (std::string_view item : items) {
    if (item.empty() && !emptyName) continue;
    for (size_t b = 0; b < names.size(); ++b) {
      if (names[b] == item) out[b] = '1';
    }
  }
}

// True when the record names an item that only L22.txt knows.
bool NamesL22OnlyItem(const ItemFields& items, const NameList& l22Names, const X6ItemLists& lists) {
  bool emptyName = false;
  for (const std::string& name : l22Names) emptyName = emptyName || name.empty();
  for (std::string_view item : items) {
    if (item.empty() && !emptyName) continue;
    for (size_t b = 0; b < l22Names.size(); ++b) {
      if (lists.L22OnlyFlags[b] && l22Names[b] == item) return true;
    }
  }
  return false;
}

// The names as they are compared: trimmed, once for all records.
NameList Trimmed(const NameList& names) {
  NameList trimmed;
  for (size_t b = 0; b < names.size(); ++b) trimmed[b] = Trim(names[b]);
  return trimmed;
}

}  // namespace

bool LoadX6ItemLists(const std::vector<std::string>& systemDirs, X6ItemLists& lists, std::string& problem) {
  try {
    return LoadLists(systemDirs, lists, problem);
  } catch (const FileError& e) {
    problem = std::string(kCannotConvert) + "読み込めません: " + ShowControlCharacters(e.path()) + " (" + e.reason() +
              ")";
    return false;
  }
}

StepResult ConvertX6(const ConversionContext& ctx) {
  StepResult result;
  const std::string sourcePath = JoinPath(ctx.SourceFolder, "X6.TXT");
  if (FileSize(sourcePath) <= 0) return result;

  X6ItemLists lists;
  std::string problem;
  if (!LoadX6ItemLists(ctx.SystemDirs, lists, problem)) {
    result.Warnings.push_back(problem);
    return result;
  }

  // Both files are made even when no record goes to G40.txt.
  std::unique_ptr<OutputFile> d40;
  std::unique_ptr<OutputFile> g40;
  long long n = 0;
  const NameList l9 = Trimmed(lists.L9Names);
  const NameList l22 = Trimmed(lists.L22Names);
  ItemFields items;
  std::string flags;
  std::string line;
  const bool hadData = ForEachRecord(
      sourcePath, kX6FieldCount,
      [&] {
        d40 = std::make_unique<OutputFile>(JoinPath(ctx.DestinationPath, "D40.txt"));
        g40 = std::make_unique<OutputFile>(JoinPath(ctx.DestinationPath, "G40.txt"));
      },
      [&](const RecordReader& reader) {
        ++n;
        for (int a = kFirstItemField; a <= kLastItemField; ++a) {
          items[static_cast<size_t>(a - kFirstItemField)] = TrimView(FieldOf(reader, a));
        }
        LineValues values(reader);
        ItemFlags(flags, items, l9);
        values.Set(kFlags, flags);
        LayOutLine(line, kD40Line, n, values);
        d40->WriteLine(line);
        if (NamesL22OnlyItem(items, l22, lists)) {
          ItemFlags(flags, items, l22);
          LayOutLine(line, kD40Line, n, values);
          g40->WriteLine(line);
        }
      });
  if (hadData) {
    g40->Close();
    d40->Close();
  }
  return result;
}

}  // namespace k2v
