#include "test_support_core.hpp"

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
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/files.hpp"
#include "run/paths.hpp"
#include "text/cp932.hpp"
#include "text/sjis_text.hpp"

namespace fs = std::filesystem;

namespace k2v::test {

void Fail(const std::string& what) {
  std::fprintf(stderr, "\n==== fuzz property violated: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

TempDir::TempDir(const std::string& stem) : TempDir(stem, fs::temp_directory_path()) {}

fs::path ShallowTempBase() {
#ifdef _WIN32
  return fs::temp_directory_path().root_path();
#else
  return fs::temp_directory_path();
#endif
}

TempDir::TempDir(const std::string& stem, const fs::path& base) {
  static std::atomic<unsigned long long> counter{0};
  const char* run = std::getenv("K2V_FUZZ_RUN_ID");
  const std::string tag = run && *run ? std::string(run) + "-" : std::string();
#ifdef _WIN32
  const unsigned long pid = GetCurrentProcessId();
#else
  const long pid = ::getpid();
#endif
  for (;;) {
    path_ = base / (stem + "-" + tag + std::to_string(pid) + "-" + std::to_string(counter++));
    if (fs::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  // Read-only entries made by a test must not stop the clean-up; links are
  // left alone, so that nothing outside the folder changes.
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
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

std::string Sjis(std::string_view utf8) {
  std::string bytes;
  EncodeCp932Append(utf8, bytes);
  return bytes;
}

std::string FromSjis(std::string_view bytes) {
  std::string utf8;
  DecodeCp932Append(bytes, utf8);
  return utf8;
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteSjis(const fs::path& path, const std::string& utf8) { WriteBytes(path, Sjis(utf8)); }

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string ReadSjis(const fs::path& path) { return FromSjis(ReadBytes(path)); }

std::string CrLfLines(const std::vector<std::string>& utf8Lines) {
  std::string out;
  for (const auto& line : utf8Lines) out += Sjis(line) + "\r\n";
  return out;
}

Tree SnapshotTree(const fs::path& folder, const fs::path& skip) {
  Tree tree;
  for (fs::recursive_directory_iterator it(folder); it != fs::recursive_directory_iterator(); ++it) {
    const fs::path rel = fs::relative(it->path(), folder);
    if (!skip.empty() && rel == skip) {
      it.disable_recursion_pending();
      continue;
    }
    const fs::file_status st = it->symlink_status();
    if (fs::is_symlink(st)) {
      tree[rel.string()] = "l:" + fs::read_symlink(it->path()).string();
    } else if (fs::is_directory(st)) {
      tree[rel.string()] = "d";
    } else if (fs::is_regular_file(st)) {
      tree[rel.string()] = "f:" + ReadBytes(it->path());
    } else {
      tree[rel.string()] = "other";
    }
  }
  return tree;
}

std::string DescribeDifference(const Tree& before, const Tree& after) {
  for (const auto& [name, content] : before) {
    auto it = after.find(name);
    if (it == after.end()) return name + " disappeared";
    if (it->second != content) {
      // From the start of the first line that differs.
      const std::string& now = it->second;
      size_t at = 0;
      while (at < content.size() && at < now.size() && content[at] == now[at]) ++at;
      const size_t line = content.find_last_of('\n', at == 0 ? 0 : at - 1);
      const size_t from = line == std::string::npos || line >= at ? 0 : line + 1;
      return name + " changed from " + Escaped(content.substr(from)) + " to " + Escaped(now.substr(from));
    }
  }
  for (const auto& [name, content] : after) {
    if (!before.count(name)) return name + " appeared (" + Escaped(content) + ")";
  }
  return "no difference";
}

std::vector<std::pair<std::string, std::string>> Snapshot(const fs::path& folder) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& [name, content] : SnapshotTree(folder)) {
    if (content.starts_with("f:")) files.emplace_back(name, content.substr(2));
  }
  return files;
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
      ++i;
      continue;
    }
    size_t len;
    char32_t cp;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      len = 2;
      cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      len = 3;
      cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      len = 4;
      cp = b0 & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (size_t k = 1; k < len; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return false;
    if (cp >= 0xD800 && cp <= 0xDFFF) {
      // The decoder's escapes of single bytes are the one use of this range.
      if (cp < 0xDC00 || cp > 0xDCFF) return false;
    }
    i += len;
  }
  return true;
}

std::string Escaped(std::string_view bytes, size_t limit) {
  std::string out = "\"";
  for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  out += '"';
  if (bytes.size() > limit) out += "... (" + std::to_string(bytes.size()) + " bytes)";
  return out;
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

MessageAnswer RecordingFrontEnd::ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                                             MessageButtons buttons) {
  messages.push_back({text, title, icon, buttons});
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  if (answers.empty()) return unanswered;
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

int RunWithStandardHandles(const std::vector<std::string>& args, void* input, void* output, void* errors) {
  std::wstring commandLine;
  for (const auto& a : args) commandLine += (commandLine.empty() ? L"" : L" ") + Quoted(NativePath(a).native());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = errors;
  PROCESS_INFORMATION process{};
  int status = -1;
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) status = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  return status;
}

int RunCommand(const std::vector<std::string>& args, std::string& out, std::string& err, const std::string& input) {
  TempDir io;
  fs::path inPath = io / "in", outPath = io / "out", errPath = io / "err";
  WriteBytes(inPath, input);
  const HANDLE handles[] = {Inheritable(inPath, false), Inheritable(outPath, true), Inheritable(errPath, true)};
  const int status = RunWithStandardHandles(args, handles[0], handles[1], handles[2]);
  for (HANDLE h : handles) CloseHandle(h);
  // The program writes a file in the console's code page, or the ANSI code
  // page without a console: back to UTF-8 (the tests run with CP932).
  UINT codePage = GetConsoleOutputCP();
  if (codePage == 0) codePage = GetACP();
  auto text = [&](const std::string& bytes) {
    if (codePage == 932) return FromSjis(bytes);
    std::wstring wide(bytes.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                        wide.data(), static_cast<int>(wide.size()))));
    return Narrow(wide);
  };
  out = text(ReadBytes(outPath));
  err = text(ReadBytes(errPath));
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

WorkerHold::WorkerHold() {
  SetFaultHook([this](FileOperation, const std::string&) {
    if (std::this_thread::get_id() != holder_) {
      std::call_once(first_, [this] {
        heldPromise_.set_value();
        released_.wait();
      });
    }
    return 0;
  });
}

WorkerHold::~WorkerHold() {
  Release();
  SetFaultHook(nullptr);
}

void WorkerHold::Release() {
  if (releasedYet_) return;
  releasedYet_ = true;
  releasePromise_.set_value();
}

}  // namespace k2v::test
