#include "titles/title_reader.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "io/item_stream.hpp"
#include "platform/files.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"
#include "titles/title_writer.hpp"

namespace k2v {

namespace {

// Kolbrix writes at most this many title lines per file; later lines are not read.
constexpr size_t kMaxTitleLines = 50;

// Of a line longer than this, only what the sheets show is kept.
constexpr size_t kLineKeep = 4096;

const char* const kTitleFiles[] = {"titl01.txt", "titl02.txt", "titl03.txt"};

}  // namespace

void ReadTitleFiles(TitleTable& table, const std::string& destinationPath) {
  table = TitleTable{};
  for (size_t row = 1; row <= 3; ++row) {
    const std::string path = JoinPath(destinationPath, kTitleFiles[row - 1]);
    if (!FileExists(path)) continue;
    if (FileSize(path) > 0) {
      // CR LF, a lone CR and a lone LF each end a line; a last line without
      // an end is read too. Of a long line only what the sheets show is kept.
      ItemStream stream = ItemStream::OfFile(path);
      std::string line;
      for (size_t n = 1; n <= kMaxTitleLines && !stream.Exhausted(); ++n) {
        stream.NextLineInto(line, std::max(kLineKeep, TitleCellKeepBytes(row, n)));
        table[row][n] = Trim(line);
      }
    }
    // The copy is not one of Vantor's files.
    DeleteFileIfExists(path);
  }
}

}  // namespace k2v
