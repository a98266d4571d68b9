#include "test_support.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace fs = std::filesystem;

namespace k2v::test {

TempDir::TempDir() {
  std::random_device rd;
  std::mt19937_64 gen(rd());
  for (;;) {
    path_ = fs::temp_directory_path() / ("k2v-test-" + std::to_string(gen()));
    if (fs::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  // Read-only folders made by a test must not stop the clean-up.
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string Sjis(const std::string& utf8) { return EncodeCp932(utf8); }

void WriteBytes(const fs::path& path, const std::string& bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void WriteSjis(const fs::path& path, const std::string& utf8) { WriteBytes(path, Sjis(utf8)); }

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string ReadSjis(const fs::path& path) { return DecodeCp932(ReadBytes(path)); }

std::string CrLfLines(const std::vector<std::string>& utf8Lines) {
  std::string out;
  for (const auto& line : utf8Lines) out += Sjis(line) + "\r\n";
  return out;
}

std::vector<std::pair<std::string, std::string>> Snapshot(const fs::path& folder) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files.emplace_back(fs::relative(entry.path(), folder).string(), ReadBytes(entry.path()));
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Record68(const std::map<int, std::string>& fields) {
  std::string line;
  for (int k = 1; k <= 68; ++k) {
    if (k > 1) line += ",";
    auto it = fields.find(k);
    if (it != fields.end()) line += it->second;
  }
  return line + "\r\n";
}

ConversionTest::ConversionTest() {
  fs::create_directories(root / "export");
  fs::create_directories(root / "dest");
  ctx.SourceFolder = (root / "export").string() + "/";
  ctx.DestinationPath = (root / "dest").string() + "/";
}

void ConversionTest::Source(const std::string& name, const std::string& utf8) const {
  WriteSjis(root / "export" / name, utf8);
}

std::string ConversionTest::Output(const std::string& name) const { return ReadBytes(root / "dest" / name); }

MessageAnswer RecordingFrontEnd::ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                                             MessageButtons buttons) {
  messages.push_back({text, title, icon, buttons});
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  if (answers.empty()) return MessageAnswer::No;
  MessageAnswer a = answers.front();
  answers.pop_front();
  return a;
}

int RunCommand(const std::vector<std::string>& args, std::string& out, std::string& err, const std::string& input) {
  TempDir io;
  fs::path inPath = io / "in", outPath = io / "out", errPath = io / "err";
  WriteBytes(inPath, input);
  pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    FILE* in = freopen(inPath.c_str(), "rb", stdin);
    FILE* o = freopen(outPath.c_str(), "wb", stdout);
    FILE* e = freopen(errPath.c_str(), "wb", stderr);
    if (!in || !o || !e) _exit(127);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  out = ReadBytes(outPath);
  err = ReadBytes(errPath);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace k2v::test
