#include "run/gather_files.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "io/record_reader.hpp"
#include "platform/files.hpp"
#include "text/sjis_text.hpp"

namespace k2v {

namespace {

// The export's files, listed once per run, and the names copied so far. A
// PCNT.TXT may name thousands of groups: a pattern reads only the names that
// begin as it does, and the destination's names are read once, not for every
// copy.
class SourceFiles {
 public:
  SourceFiles(std::string sourceFolder, std::string destinationFolder)
      : source_(std::move(sourceFolder)), destination_(std::move(destinationFolder)),
        names_(ListMatchingFiles(source_, "*")), copied_(names_.size(), false) {
    byCapitals_.reserve(names_.size());
    for (size_t k = 0; k < names_.size(); ++k) byCapitals_.emplace_back(AsciiUpper(names_[k]), k);
    std::sort(byCapitals_.begin(), byCapitals_.end());
  }

  // Copies every file matching the pattern that keep() accepts, in name
  // order (once per run: a second group naming it would copy the same
  // bytes); a copy replaces a destination file of the same name. Returns the
  // names that match.
  template <typename Keep>
  std::vector<std::string> CopyMatching(const std::string& pattern, Keep keep) {
    const std::string prefix = WildcardLiteralPrefix(pattern);
    std::vector<size_t> found;
    for (auto it = std::lower_bound(byCapitals_.begin(), byCapitals_.end(), std::make_pair(prefix, size_t{0}));
         it != byCapitals_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
      const std::string& name = names_[it->second];
      if (WildcardMatch(pattern, name) && keep(name)) found.push_back(it->second);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> matching;
    for (size_t k : found) {
      const std::string& name = names_[k];
      matching.push_back(name);
      if (copied_[k]) continue;
      if (!destinationNames_) destinationNames_.emplace(destination_);
      const std::string target = destinationNames_->Resolve(name);
      CopyFileReplacing(JoinPath(source_, name), JoinPath(destination_, name), JoinPath(destination_, target));
      // A file of another spelling took the bytes; else the name is new there.
      if (target == name) destinationNames_->Add(name);
      copied_[k] = true;
    }
    return matching;
  }

  std::vector<std::string> CopyMatching(const std::string& pattern) {
    return CopyMatching(pattern, [](const std::string&) { return true; });
  }

  // The destination was changed other than by CopyMatching: its names are
  // read again before the next copy.
  void DestinationChanged() { destinationNames_.reset(); }

 private:
  std::string source_;
  std::string destination_;
  std::vector<std::string> names_;
  std::vector<bool> copied_;  // by the name's place in names_
  // Every name in capitals with its place in names_, in order.
  std::vector<std::pair<std::string, size_t>> byCapitals_;
  std::optional<FolderSpellings> destinationNames_;
};

// The title stage reads titl01.txt to titl03.txt of the destination folder.
// One that this run did not copy (left by an interrupted run, or put there by
// hand) belongs to another boring: it is deleted unread.
void DeleteStaleTitleCopies(const std::string& destinationFolder, const std::vector<std::string>& copied) {
  for (const char* title : {"titl01.txt", "titl02.txt", "titl03.txt"}) {
    bool copiedNow = false;
    for (const std::string& name : copied) copiedNow = copiedNow || SameNameIgnoringCase(name, title);
    const std::string path = JoinPath(destinationFolder, title);
    if (!copiedNow && FileExists(path)) DeleteFileIfExists(path);
  }
}

// Vantor takes these three G files of the export as they are.
bool IsCopiedGFile(const std::string& name) {
  std::string upper = AsciiUpper(name);
  return upper == "G71.TXT" || upper == "G73.TXT" || upper == "G81.TXT";
}

// The names of the file groups listed in PCNT.TXT: records of a number
// (not used) and a name.
std::vector<std::string> ReadPatternNames(const std::string& pcntPath) {
  std::vector<std::string> names;
  ForEachRecord(pcntPath, 2, [&](const RecordReader& r) { names.push_back(r.Fields[2]); });
  return names;
}

}  // namespace

void GatherSourceFiles(const std::string& sourceFolder, const std::string& destinationFolder) {
  SourceFiles files(sourceFolder, destinationFolder);
  // The title files; the title stage reads and removes these copies.
  DeleteStaleTitleCopies(destinationFolder, files.CopyMatching("titl0?.*"));
  files.DestinationChanged();
  files.CopyMatching("G*.*", IsCopiedGFile);

  // A missing or empty PCNT.TXT names no file group; nothing is created.
  const std::string pcntPath = JoinPath(sourceFolder, "PCNT.TXT");
  if (FileSize(pcntPath) == 0) return;
  std::vector<std::string> groups = ReadPatternNames(pcntPath);
  CopyFileReplacing(pcntPath, JoinPath(destinationFolder, "PCNT.TXT"));
  files.DestinationChanged();
  std::sort(groups.begin(), groups.end());
  groups.erase(std::unique(groups.begin(), groups.end()), groups.end());
  for (const std::string& group : groups) files.CopyMatching(group + ".*");
}

}  // namespace k2v
