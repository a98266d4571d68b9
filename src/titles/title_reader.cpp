#include "titles/title_reader.hpp"

#include <string>
#include <vector>

#include "platform/files.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// Kolbrix writes at most this many title lines per file; later lines are not read.
constexpr size_t kMaxTitleLines = 50;

const char* const kTitleFiles[] = {"titl01.txt", "titl02.txt", "titl03.txt"};

}  // namespace

void ReadTitleFiles(TitleTable& table, const std::string& destinationPath) {
  table = TitleTable{};
  for (size_t row = 1; row <= 3; ++row) {
    const std::string path = destinationPath + kTitleFiles[row - 1];
    if (!FileExists(path)) continue;
    if (FileSize(path) > 0) {
      // CR LF, a lone CR and a lone LF each end a line; a last line without
      // an end is read too.
      std::vector<std::string> lines = SplitLines(DecodeCp932(ReadFileBytes(path)));
      for (size_t n = 1; n <= lines.size() && n <= kMaxTitleLines; ++n) table[row][n] = Trim(lines[n - 1]);
    }
    // The copy is not one of Vantor's files.
    DeleteFileIfExists(path);
  }
}

}  // namespace k2v
