#include "soil/soil_word_tables.hpp"

#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>

#include "io/record_reader.hpp"
#include "platform/files.hpp"
#include "soil/soil_codes.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// Vantor's main soil classes, rock classes and special materials.
const SoilWord kBuiltInSoilNames[] = {
    {"表土", 0},         {"埋土", 1},
    {"廃棄土", 2},       {"浮石", 10},
    {"シラス", 20},      {"スコリア", 30},
    {"火山灰", 40},      {"ローム", 50},
    {"黒ボク", 60},      {"マサ", 70},
    {"硬岩", 91},        {"中硬岩", 92},
    {"軟岩", 93},        {"玉石", 94},
    {"礫", 100},         {"礫質土", 200},
    {"砂", 300},         {"砂質土", 400},
    {"シルト", 500},     {"粘性土", 600},
    {"有機質土", 700},   {"火山灰質粘性土", 800},
    {"高有機質土", 900},
};

static_assert(std::size(kBuiltInSoilNames) == kBuiltInSoilNameCount);

const SoilWord kBuiltInQualityWords[] = {
    {"砂質", 10}, {"シルト質", 20}, {"粘土質", 30}, {"有機質", 40}, {"火山灰質", 50},
};

// As Vantor's list spells them; the tables hold them up to their "混".
const SoilWord kBuiltInAdmixtureWords[] = {
    {"玉石混り", 1}, {"礫混り", 2},       {"砂混り", 3},     {"シルト混り", 4},
    {"粘土混り", 5}, {"有機質土混り", 6}, {"火山灰混り", 7}, {"貝殻混り", 8},
};

// A code field: optional spaces, an optional sign, ASCII digits, optional
// spaces, and a value from -32768 to 32767.
std::optional<std::int16_t> ParseCode(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long value = 0;
  size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    value = value * 10 + (text[i] - '0');
    if (value > 32768) return std::nullopt;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (digits == 0 || i != text.size()) return std::nullopt;
  if (negative) value = -value;
  if (value > 32767) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

// The line (from 1) of each record of a file's bytes, from the byte
// positions the record reader gives, which only grow.
class LineCounter {
 public:
  explicit LineCounter(const std::string& bytes) : bytes_(bytes) {}
  // The line of the first byte of text at or after position (from 1): a
  // record's position may stand before the blank lines that precede it.
  int LineAt(std::int64_t position) {
    size_t at = static_cast<size_t>(std::max<std::int64_t>(position - 1, 0));
    while (at < bytes_.size() &&
           (bytes_[at] == ' ' || bytes_[at] == '\r' || bytes_[at] == '\n' || bytes_[at] == '\x1a')) {
      ++at;
    }
    for (; counted_ < at && counted_ < bytes_.size(); ++counted_) {
      const char c = bytes_[counted_];
      const bool crlf = c == '\r' && counted_ + 1 < bytes_.size() && bytes_[counted_ + 1] == '\n';
      if (c == '\n' || (c == '\r' && !crlf)) ++line_;
    }
    return line_;
  }

 private:
  const std::string& bytes_;
  size_t counted_ = 0;
  int line_ = 1;
};

// The text holds the escape of a byte that is no CP932 character's.
bool HoldsUndecodedByte(const std::string& text) {
  return text.find("\xED\xB2") != std::string::npos || text.find("\xED\xB3") != std::string::npos;
}

// A file that is not Shift-JIS: UTF-16, UTF-8 (with or without a byte order
// mark), or bytes that are no CP932 character on some line (the first one).
std::optional<VocabularyProblem> EncodingProblem(const std::string& bytes) {
  using Kind = VocabularyProblemKind;
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return VocabularyProblem{Kind::Utf16};
  if (bytes.starts_with("\xEF\xBB\xBF")) return VocabularyProblem{Kind::Utf8Bom};
  if (IsUtf8Text(bytes)) return VocabularyProblem{Kind::Utf8};
  int line = 1;
  for (size_t start = 0; start < bytes.size(); ++line) {
    size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
    std::string text;
    DecodeCp932Append(std::string_view(bytes).substr(start, end - start), text);
    if (HoldsUndecodedByte(text)) return VocabularyProblem{Kind::NotShiftJis, line};
    start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return std::nullopt;
}

// Reads the records of n items of an extension file's bytes, in file order,
// up to limit entries: add takes the code and the items (item 1 at index 0)
// and the line of each record whose code is a whole number. What gives no
// entry goes to read's problems.
void ReadExtensionRecords(const std::string& bytes, int n, int limit, ExtensionFileRead& read,
                          const std::function<void(std::int16_t, std::vector<std::string>&, int)>& add) {
  using Kind = VocabularyProblemKind;
  if (auto problem = EncodingProblem(bytes)) read.problems.push_back(*problem);
  LineCounter lines(bytes);
  bool full = false;
  ForEachRecordInBytes(bytes, n, [&](const RecordReader& r) {
    if (full) return;
    const int line = lines.LineAt(r.RecordPos);
    if (read.entries == limit) {
      read.problems.push_back({Kind::BeyondLimit, line});
      full = true;
      return;
    }
    if (!r.RecordComplete) {
      read.problems.push_back({Kind::CutShort, line});
      return;
    }
    const std::optional<std::int16_t> code = ParseCode(r.Fields[1]);
    if (!code) {
      read.problems.push_back({Kind::NoCode, line, r.Fields[1]});
      return;
    }
    ++read.entries;
    std::vector<std::string> items(r.Fields.begin() + 1, r.Fields.begin() + 1 + n);
    add(*code, items, line);
  });
}

// The bytes of an extension file of the vocabulary folder; empty when it is
// missing. Throws FileError when it exists but cannot be read.
std::string ExtensionFileBytes(const std::string& path, ExtensionFileRead& read) {
  read.path = ResolveCase(path);
  read.exists = FileExists(path);
  return FileSize(path) > 0 ? ReadFileBytes(path) : std::string();
}

}  // namespace

void SoilWordIndex::Rebuild(const std::vector<SoilWord>& table) {
  first_.clear();
  lengths_.clear();
  first_.reserve(table.size());
  for (size_t k = 0; k < table.size(); ++k) {
    const std::string& word = table[k].word;
    if (!first_.try_emplace(word, static_cast<int>(k + 1)).second || word.empty()) continue;
    int length = CharCount(word);
    if (std::find(lengths_.begin(), lengths_.end(), length) == lengths_.end()) lengths_.push_back(length);
  }
  std::sort(lengths_.begin(), lengths_.end(), std::greater<>());
}

int SoilWordIndex::FirstEntry(std::string_view word) const {
  if (first_.empty()) return 0;  // an empty table (no D12A.TXT): nothing to hash
  auto found = first_.find(word);
  return found == first_.end() ? 0 : found->second;
}

void SoilWordTables::RebuildIndexes() {
  SoilNameIndex.Rebuild(SoilNameTable);
  QualityWordIndex.Rebuild(QualityWordTable);
  AdmixtureWordIndex.Rebuild(AdmixtureWordTable);
  D12ACodeIndex.Rebuild(D12ACodeTable);
}

void BuildSoilWordTables(SoilWordTables& tables, const std::string& vocabularyPath, VocabularyRead* read) {
  VocabularyRead files;
  const std::string g10a = ExtensionFileBytes(JoinPath(vocabularyPath, "G10A.TXT"), files.g10a);
  const std::string d12a = ExtensionFileBytes(JoinPath(vocabularyPath, "D12A.TXT"), files.d12a);
  BuildSoilWordTablesFromBytes(tables, g10a, d12a, &files);
  if (read) *read = std::move(files);
}

void BuildSoilWordTablesFromBytes(SoilWordTables& tables, const std::string& g10aBytes, const std::string& d12aBytes,
                                  VocabularyRead* read) {
  using Kind = VocabularyProblemKind;
  // The paths the caller found stay; what the files held is told afresh.
  VocabularyRead files;
  if (read) {
    files.g10a = {read->g10a.path, read->g10a.exists};
    files.d12a = {read->d12a.path, read->d12a.exists};
  }
  tables = SoilWordTables{};

  tables.SoilNameTable.assign(std::begin(kBuiltInSoilNames), std::end(kBuiltInSoilNames));
  // G10A.TXT: code, (ignored), soil name, (ignored).
  std::vector<int> g10aLines;
  ReadExtensionRecords(g10aBytes, 4, kMaxG10AEntries, files.g10a,
                       [&](std::int16_t code, std::vector<std::string>& items, int line) {
                         tables.SoilNameTable.push_back({std::move(items[2]), code});
                         g10aLines.push_back(line);
                       });

  tables.QualityWordTable.assign(std::begin(kBuiltInQualityWords), std::end(kBuiltInQualityWords));
  tables.AdmixtureWordTable.assign(std::begin(kBuiltInAdmixtureWords), std::end(kBuiltInAdmixtureWords));
  for (SoilWord& entry : tables.AdmixtureWordTable) {
    if (size_t mix = entry.word.find(kMix); mix != std::string::npos) entry.word.resize(mix + kMix.size());
  }

  // D12A.TXT: code, name, (ignored).
  ReadExtensionRecords(d12aBytes, 3, kMaxD12AEntries, files.d12a,
                       [&](std::int16_t code, std::vector<std::string>& items, int) {
                         tables.D12ACodeTable.push_back({std::move(items[1]), code});
                       });

  tables.RebuildIndexes();
  if (!read) return;

  // G10A words that no description alone can find.
  for (size_t k = 0; k < g10aLines.size(); ++k) {
    const std::string& word = tables.SoilNameTable[kBuiltInSoilNameCount + k].word;
    if (word.empty()) {
      files.g10a.problems.push_back({Kind::EmptyWord, g10aLines[k]});
    } else if (std::string lookedUp = LookedUpAlone(tables, word); lookedUp != word) {
      files.g10a.problems.push_back({Kind::CutWord, g10aLines[k], word, std::move(lookedUp)});
    }
  }
  std::stable_sort(files.g10a.problems.begin(), files.g10a.problems.end(),
                   [](const VocabularyProblem& a, const VocabularyProblem& b) { return a.line < b.line; });
  *read = std::move(files);
}

}  // namespace k2v
