#pragma once
// Shared pieces of the fuzz targets: scratch folders that do not pile up over
// a long run, whole-tree snapshots, and the check that stops the fuzzer.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace k2v::fuzz {

// Prints what was violated and aborts, so that libFuzzer keeps the input.
[[noreturn]] void Fail(const std::string& what);
inline void Check(bool ok, const std::string& what) {
  if (!ok) Fail(what);
}

// A fresh folder under the system's temporary folder ($TMPDIR), unique to
// this process and call, removed with everything in it when it goes out of
// scope. Its name is stem, the value of K2V_FUZZ_RUN_ID when set, the process
// id and a count, joined by "-".
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& stem);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Every entry below folder: relative path -> kind and content ("f:" and the
// bytes for a file, "d" for a folder, "l:" and the target for a link). The
// entry named skip (relative to folder, with everything below it) is left out.
using Tree = std::map<std::string, std::string>;
Tree SnapshotTree(const std::filesystem::path& folder, const std::filesystem::path& skip = {});
// The first difference between two snapshots, for the failure message.
std::string DescribeDifference(const Tree& before, const Tree& after);

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// True when text is well-formed UTF-8 (no surrogates, nothing above U+10FFFF,
// shortest forms only).
bool IsValidUtf8(std::string_view text);

// The bytes as a C string literal, for messages.
std::string Escaped(std::string_view bytes, size_t limit = 200);

}  // namespace k2v::fuzz
