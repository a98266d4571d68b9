#include "test_support.hpp"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "platform/wide_text.hpp"
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/files.hpp"
#include "run/paths.hpp"
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

std::string TempDir::folder() const { return PathText(path_) + Sep(); }

std::string Sep() { return std::string(1, NativePathRules().Separator()); }

std::string Native(const std::string& relative) {
  std::string path = relative;
  std::replace(path.begin(), path.end(), '/', NativePathRules().Separator());
  return path;
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
  ctx.SourceFolder = PathText(root / "export") + Sep();
  ctx.DestinationPath = PathText(root / "dest") + Sep();
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

#ifdef _WIN32

namespace {

// One argument as the program's command-line parser reads it back.
std::wstring Quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') backslashes = backslashes * 2 + 1;
    out.append(backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

HANDLE Inheritable(const fs::path& path, bool write) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  return CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

namespace {
void SetEnv(const std::string& name, const char* value) {
  const std::wstring wideName = Widen(name);
  const std::wstring wideValue = value ? Widen(value) : std::wstring();
  SetEnvironmentVariableW(wideName.c_str(), value ? wideValue.c_str() : nullptr);
  _wputenv_s(wideName.c_str(), wideValue.c_str());
}
}  // namespace

int RunCommand(const std::vector<std::string>& args, std::string& out, std::string& err, const std::string& input) {
  TempDir io;
  fs::path inPath = io / "in", outPath = io / "out", errPath = io / "err";
  WriteBytes(inPath, input);
  std::wstring commandLine;
  for (const auto& a : args) commandLine += (commandLine.empty() ? L"" : L" ") + Quoted(NativePath(a).native());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = Inheritable(inPath, false);
  startup.hStdOutput = Inheritable(outPath, true);
  startup.hStdError = Inheritable(errPath, true);
  PROCESS_INFORMATION process{};
  int status = -1;
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) status = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) CloseHandle(h);
  out = ReadBytes(outPath);
  err = ReadBytes(errPath);
  return status;
}

#else

namespace {
void SetEnv(const std::string& name, const char* value) {
  if (value) {
    setenv(name.c_str(), value, 1);
  } else {
    unsetenv(name.c_str());
  }
}
}  // namespace

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

#endif

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* old = std::getenv(name)) {
    had_ = true;
    old_ = old;
  }
  SetEnv(name_, value);
}

ScopedEnv::~ScopedEnv() { SetEnv(name_, had_ ? old_.c_str() : nullptr); }

}  // namespace k2v::test
