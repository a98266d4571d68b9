#pragma once
// Shared helpers of the tests: temporary folders, real CP932 files, and a
// front end that records what a run asked.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "convert/conversion_context.hpp"
#include "run/front_end.hpp"

namespace k2v::test {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir();
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

// The folder separator of the system the tests run on, as the run's path
// rules name it ("/" on Linux, "\\" on Windows).
std::string Sep();
// The relative path with its "/" replaced by the system's separator.
std::string Native(const std::string& relative);

// CP932 bytes of UTF-8 text (every character must be representable).
std::string Sjis(const std::string& utf8);
// Writes bytes to the file, creating folders as needed.
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
// Writes UTF-8 text as CP932.
void WriteSjis(const std::filesystem::path& path, const std::string& utf8);
// The bytes of the file ("<missing>" when there is none).
std::string ReadBytes(const std::filesystem::path& path);
// The file's content decoded from CP932.
std::string ReadSjis(const std::filesystem::path& path);
// Lines joined with CR LF and ended with CR LF, as CP932 bytes.
std::string CrLfLines(const std::vector<std::string>& utf8Lines);
// Every file below folder, relative path -> bytes.
std::vector<std::pair<std::string, std::string>> Snapshot(const std::filesystem::path& folder);

// One record line of 68 fields (X6.TXT, X7.TXT) with CR LF; fields not given
// are empty.
std::string Record68(const std::map<int, std::string>& fields);

// A source folder "export" and a destination folder "dest" in a temporary
// folder, and a conversion context that points at them.
class ConversionTest : public ::testing::Test {
 protected:
  ConversionTest();
  // Writes a source file as CP932.
  void Source(const std::string& name, const std::string& utf8) const;
  // The bytes of a destination file.
  std::string Output(const std::string& name) const;

  TempDir root;
  ConversionContext ctx;
};

// One message box the run showed.
struct ShownMessage {
  std::string text;
  std::string title;
  MessageIcon icon;
  MessageButtons buttons;
};

// Records every request of a run and answers questions from a queue (No
// when it is empty).
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

// Runs a command line and returns its exit status; stdout and stderr are
// captured into the strings.
int RunCommand(const std::vector<std::string>& args, std::string& out, std::string& err,
               const std::string& input = "");

}  // namespace k2v::test
