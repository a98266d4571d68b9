#include "run/gather_files.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "io/record_reader.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// The export's files, listed once per run, and the names copied so far.
class SourceFiles {
 public:
  SourceFiles(std::string sourceFolder, std::string destinationFolder)
      : source_(std::move(sourceFolder)), destination_(std::move(destinationFolder)),
        names_(ListMatchingFiles(source_, "*")) {}

  // Copies every file matching the pattern that keep() accepts (once per
  // run: a second group naming it would copy the same bytes); a copy replaces
  // a destination file of the same name. Returns the names that match.
  template <typename Keep>
  std::vector<std::string> CopyMatching(const std::string& pattern, Keep keep) {
    std::vector<std::string> matching;
    for (const std::string& name : names_) {
      if (!WildcardMatch(pattern, name) || !keep(name)) continue;
      matching.push_back(name);
      if (std::find(copied_.begin(), copied_.end(), name) != copied_.end()) continue;
      CopyFileReplacing(source_ + name, destination_ + name);
      copied_.push_back(name);
    }
    return matching;
  }

  std::vector<std::string> CopyMatching(const std::string& pattern) {
    return CopyMatching(pattern, [](const std::string&) { return true; });
  }

 private:
  std::string source_;
  std::string destination_;
  std::vector<std::string> names_;
  std::vector<std::string> copied_;
};

// The title stage reads titl01.txt to titl03.txt of the destination folder.
// One that this run did not copy (left by an interrupted run, or put there by
// hand) belongs to another boring: it is deleted unread.
void DeleteStaleTitleCopies(const std::string& destinationFolder, const std::vector<std::string>& copied) {
  for (const char* title : {"titl01.txt", "titl02.txt", "titl03.txt"}) {
    bool copiedNow = false;
    for (const std::string& name : copied) copiedNow = copiedNow || SameNameIgnoringCase(name, title);
    if (!copiedNow && FileExists(destinationFolder + title)) DeleteFileIfExists(destinationFolder + title);
  }
}

// Vantor takes these three G files of the export as they are.
bool IsCopiedGFile(const std::string& name) {
  std::string upper = AsciiUpper(name);
  return upper == "G71.TXT" || upper == "G73.TXT" || upper == "G81.TXT";
}

// The names of the file groups listed in PCNT.TXT: records of a number
// (not used) and a name.
std::vector<std::string> ReadPatternNames(const std::string& pcntPath, const std::string& destinationFolder) {
  std::vector<std::string> names;
  ForEachRecord(pcntPath, 2, destinationFolder, [&](const RecordReader& r) { names.push_back(r.Fields[2]); });
  return names;
}

}  // namespace

void GatherSourceFiles(const std::string& sourceFolder, const std::string& destinationFolder) {
  SourceFiles files(sourceFolder, destinationFolder);
  // The title files; the title stage reads and removes these copies.
  DeleteStaleTitleCopies(destinationFolder, files.CopyMatching("titl0?.*"));
  files.CopyMatching("G*.*", IsCopiedGFile);

  // A missing or empty PCNT.TXT names no file group; nothing is created.
  const std::string pcntPath = sourceFolder + "PCNT.TXT";
  if (FileSize(pcntPath) == 0) return;
  std::vector<std::string> groups = ReadPatternNames(pcntPath, destinationFolder);
  CopyFileReplacing(pcntPath, destinationFolder + "PCNT.TXT");
  std::sort(groups.begin(), groups.end());
  groups.erase(std::unique(groups.begin(), groups.end()), groups.end());
  for (const std::string& group : groups) files.CopyMatching(group + ".*");
}

}  // namespace k2v
