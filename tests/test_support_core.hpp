#pragma once
// The part of the tests' support library that needs no GoogleTest, shared by
// the test programs (through test_support.hpp), the fuzz targets and their
// replays: temporary folders, real CP932 files, snapshots of folders, a front
// end that records what a run asked, the command runner, and the checks that
// stop a fuzz target.

#include <deque>
#include <filesystem>
#include <future>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "run/front_end.hpp"

namespace k2v::test {

// Prints what was violated and aborts, so that libFuzzer keeps the input.
[[noreturn]] void Fail(const std::string& what);
inline void Check(bool ok, const std::string& what) {
  if (!ok) Fail(what);
}

// A fresh folder under the system's temporary folder ($TMPDIR), removed with
// everything in it at the end of scope. Its name is stem, the value of
// K2V_FUZZ_RUN_ID when set (scripts/fuzz.sh removes what a crashed input
// left by it), the process id and a count, joined by "-".
class TempDir {
 public:
  explicit TempDir(const std::string& stem = "k2v-test");
  // The same in the folder base instead of the temporary folder.
  TempDir(const std::string& stem, const std::filesystem::path& base);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // The path as text, ending in the system's separator.
  std::string folder() const;
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// A folder for a TempDir whose own folder holds the vocabulary folder of a
// destination three levels below it: the temporary folder, except on
// Windows, which keeps that four levels deep; there the top of its drive.
std::filesystem::path ShallowTempBase();

// The folder separator of the system the tests run on, as the run's path
// rules name it ("/" on Linux, "\\" on Windows).
std::string Sep();
// The relative path with its "/" replaced by the system's separator.
std::string Native(const std::string& relative);

// CP932 bytes of UTF-8 text (every character must be representable).
std::string Sjis(std::string_view utf8);
// The text of CP932 bytes (lossless: a byte that is no character's is kept
// as its escape).
std::string FromSjis(std::string_view bytes);
// Writes bytes to the file, creating folders as needed; throws when it cannot.
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
// Writes UTF-8 text as CP932.
void WriteSjis(const std::filesystem::path& path, const std::string& utf8);
// The bytes of the file ("<missing>" when there is none).
std::string ReadBytes(const std::filesystem::path& path);
// The file's content decoded from CP932.
std::string ReadSjis(const std::filesystem::path& path);
// Lines joined with CR LF and ended with CR LF, as CP932 bytes.
std::string CrLfLines(const std::vector<std::string>& utf8Lines);

// Every entry below folder: relative path -> kind and content ("f:" and the
// bytes for a file, "d" for a folder, "l:" and the target for a link). The
// entry named skip (relative to folder, with everything below it) is left out.
using Tree = std::map<std::string, std::string>;
Tree SnapshotTree(const std::filesystem::path& folder, const std::filesystem::path& skip = {});
// The first difference between two snapshots, for a failure message (a
// changed file from the first line that differs).
std::string DescribeDifference(const Tree& before, const Tree& after);
// Every file below folder (links left out), relative path -> bytes.
std::vector<std::pair<std::string, std::string>> Snapshot(const std::filesystem::path& folder);

// True when text is well-formed UTF-8 (no surrogates but the decoder's escapes
// of single bytes, nothing above U+10FFFF, shortest forms only).
bool IsValidUtf8(std::string_view text);
// The bytes as a C string literal, for messages.
std::string Escaped(std::string_view bytes, size_t limit = 200);

// One record line of 68 fields (X6.TXT, X7.TXT) with CR LF; fields not given
// are empty.
std::string Record68(const std::map<int, std::string>& fields);

// One message box the run showed.
struct ShownMessage {
  std::string text;
  std::string title;
  MessageIcon icon;
  MessageButtons buttons;
};

// Records every request of a run and answers questions from a queue
// (unanswered when it is empty).
class RecordingFrontEnd : public FrontEnd {
 public:
  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  void ProcessPendingEvents() override { ++eventPasses; }
  MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                            MessageButtons buttons) override;
  void SetBusy(bool busy) override { busyChanges.push_back(busy); }
  void FocusAndSelect(PathBox box) override { focus.push_back(box); }

  std::vector<std::string> statuses;
  std::vector<ShownMessage> messages;
  std::vector<bool> busyChanges;
  std::vector<PathBox> focus;
  std::deque<MessageAnswer> answers;
  MessageAnswer unanswered = MessageAnswer::No;
  int eventPasses = 0;
};

// Sets an environment variable (or unsets it, for nullptr) for the test
// and the commands it runs; the old value comes back at the end of scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

// Holds a batch's worker at its first file operation: the first one that a
// thread other than the one that made the hold asks the fault hook about
// waits until Release(). At the end of scope the worker is released and the
// hook removed.
class WorkerHold {
 public:
  WorkerHold();
  ~WorkerHold();
  WorkerHold(const WorkerHold&) = delete;
  WorkerHold& operator=(const WorkerHold&) = delete;
  // Waits until the worker stands at that operation.
  void WaitUntilHeld() { held_.wait(); }
  void Release();

 private:
  const std::thread::id holder_ = std::this_thread::get_id();
  std::once_flag first_;
  std::promise<void> heldPromise_;
  std::future<void> held_ = heldPromise_.get_future();
  std::promise<void> releasePromise_;
  std::shared_future<void> released_ = releasePromise_.get_future().share();
  bool releasedYet_ = false;
};

// The command line's own texts, for the test and the commands it runs, in
// the language the locale name asks for ("C" English, "ja_JP.UTF-8"
// Japanese), whatever LANG says: LC_MESSAGES set and LC_ALL unset. (Under
// Wine, LANG keeps deciding the code page.)
class ScopedMessageLanguage {
 public:
  explicit ScopedMessageLanguage(const char* locale) : all_("LC_ALL", nullptr), messages_("LC_MESSAGES", locale) {}

 private:
  ScopedEnv all_;
  ScopedEnv messages_;
};

// Runs a command line and returns its exit status; stdout and stderr are
// captured into the strings, as UTF-8 text (on Windows from the code page the
// program writes a file in).
int RunCommand(const std::vector<std::string>& args, std::string& out, std::string& err, const std::string& input = "");

#ifdef _WIN32
// Runs a command line with the given inheritable handles as its standard
// input, output and error; returns its exit status.
int RunWithStandardHandles(const std::vector<std::string>& args, void* input, void* output, void* errors);
#endif

}  // namespace k2v::test
