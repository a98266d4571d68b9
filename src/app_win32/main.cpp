// kolbrix2vantor-gui.exe [--system-dir DIR] [--radudi DIR]: the converter's
// window on Windows.

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app_win32/form1_window.hpp"
#include "platform/arguments.hpp"
#include "platform/files.hpp"
#include "platform/system_folders.hpp"
#include "platform/volumes.hpp"
#include "platform/wide_text.hpp"
#include "run/vantor_folders.hpp"

namespace {

constexpr const char* kProgram = "kolbrix2vantor-gui";
constexpr const char* kUsage = "Usage: kolbrix2vantor-gui [--system-dir DIR] [--radudi DIR]\n";
constexpr const char* kRadudiVariable = "KOLBRIX2VANTOR_RADUDI";

// A program without a console answers --help, --version and a usage error
// in a message box.
int Tell(const std::string& text, UINT icon, int status) {
  MessageBoxW(nullptr, k2v::Widen(text).c_str(), k2v::Widen(kProgram).c_str(), MB_OK | icon);
  return status;
}

std::string Help() {
  return std::string(kUsage) +
         "Open the window that converts a Kolbrix export into Vantor's data files.\n"
         "\n"
         "  --system-dir DIR  folder that holds Radudi32.ini\n"
         "  --radudi DIR      Vantor's pattern-data folder RADUDI (a folder that holds a\n"
         "                    non-empty kishitu.txt); skips the search\n"
         "  -h, --help        display this help and exit\n"
         "  -V, --version     output version information and exit\n"
         "\n" +
         k2v::SysDirLookupHelp() +
         "\n"
         "RADUDI is the folder of --radudi, else of %" +
         kRadudiVariable +
         "%, else the first one found beside the program, then in every folder of the "
         "program's drive, then of every other drive.\n";
}

int UsageError(const std::string& problem) {
  return Tell(std::string(kProgram) + ": " + problem + "\n\n" + kUsage, MB_ICONERROR, 2);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = k2v::CommandLineArguments(argc, argv);
  k2v::WindowSetup setup;
  std::string systemDir;
  bool systemDirGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") return Tell(Help(), MB_ICONINFORMATION, 0);
    if (args[i] == "--version" || args[i] == "-V") {
      return Tell(std::string(kProgram) + " " + K2V_VERSION, MB_ICONINFORMATION, 0);
    }
    const k2v::OptionValue systemDirOption = k2v::TakeOptionValue(args, i, "--system-dir", "", systemDir);
    if (systemDirOption == k2v::OptionValue::Taken) {
      systemDirGiven = true;
      continue;
    }
    if (systemDirOption == k2v::OptionValue::Missing) return UsageError("option '--system-dir' requires an argument");
    const k2v::OptionValue radudiOption = k2v::TakeOptionValue(args, i, "--radudi", "", setup.givenRadudi);
    if (radudiOption == k2v::OptionValue::Taken) {
      setup.givenRadudiBy = "--radudi";
      if (setup.givenRadudi.empty()) return UsageError("option '--radudi' needs a folder");
      continue;
    }
    if (radudiOption == k2v::OptionValue::Missing) return UsageError("option '--radudi' requires an argument");
    if (args[i].rfind('-', 0) == 0) return UsageError("unrecognized option '" + args[i] + "'");
    return UsageError("unexpected argument '" + args[i] + "'");
  }
  if (setup.givenRadudi.empty()) {
    const wchar_t* fromEnvironment = _wgetenv(k2v::Widen(kRadudiVariable).c_str());
    if (fromEnvironment && *fromEnvironment) {
      setup.givenRadudi = k2v::Narrow(fromEnvironment);
      setup.givenRadudiBy = std::string("環境変数 ") + kRadudiVariable;
    }
  }
  setup.givenRadudi = k2v::AbsoluteAtStart(setup.givenRadudi);
  setup.volumes = k2v::MountedVolumes();
  setup.programFolder = k2v::ProgramFolder();
  if (systemDirGiven) setup.runOptions.systemDir = systemDir;

  k2v::Form1Window window(setup);
  if (!window.Model().Form_Load()) return 1;
  return window.Run();
}
