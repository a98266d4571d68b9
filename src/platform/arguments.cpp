#include "platform/arguments.hpp"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/wide_text.hpp"
#endif

namespace k2v {

#ifdef _WIN32

std::vector<std::string> CommandLineArguments(int, char**) {
  // The program's output is UTF-8 text and its lines end in "\n" alone.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return args;
  for (int i = 1; i < count; ++i) args.push_back(Narrow(wide[i]));
  LocalFree(wide);
  return args;
}

#else

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return args;
}

#endif

OptionValue TakeOptionValue(const std::vector<std::string>& args, size_t& i, const std::string& longName,
                            const std::string& shortName, std::string& value) {
  const std::string& arg = args[i];
  if (arg.size() > longName.size() && arg.compare(0, longName.size(), longName) == 0 && arg[longName.size()] == '=') {
    value = arg.substr(longName.size() + 1);
    return OptionValue::Taken;
  }
  if (arg != longName && (shortName.empty() || arg != shortName)) return OptionValue::NotThisOption;
  if (i + 1 >= args.size()) return OptionValue::Missing;
  value = args[++i];
  return OptionValue::Taken;
}

}  // namespace k2v
