// kolbrix2vantor-gui [--system-dir DIR] [--radudi DIR]: the converter's window.

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QStyleFactory>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/form1_widget.hpp"
#include "app/japanese_texts.hpp"
#include "platform/arguments.hpp"
#include "platform/files.hpp"
#include "platform/system_folders.hpp"
#include "platform/volumes.hpp"
#include "run/vantor_folders.hpp"

namespace {

constexpr const char* kUsage = "Usage: kolbrix2vantor-gui [--system-dir DIR] [--radudi DIR]\n";
constexpr const char* kTryHelp = "Try 'kolbrix2vantor-gui --help' for more information.\n";
constexpr const char* kRadudiVariable = "KOLBRIX2VANTOR_RADUDI";

void PrintHelp() {
  std::cout << kUsage
            << "Open the window that converts a Kolbrix export into Vantor's data files.\n"
               "\n"
               "      --system-dir DIR  folder that holds Radudi32.ini\n"
               "      --radudi DIR      Vantor's pattern-data folder RADUDI (a folder that\n"
               "                        holds a non-empty kishitu.txt); skips the search\n"
               "  -h, --help            display this help and exit\n"
               "  -V, --version         output version information and exit\n"
               "\n"
            << k2v::SysDirLookupHelp()
            << "\n"
               "RADUDI is the folder of --radudi, else of $"
            << kRadudiVariable
            << ", else the first\n"
               "one found beside the program, then in every folder of the program's volume,\n"
               "then of every other mounted volume.\n"
               "Qt's own options (-platform, -style, ...) are taken as well.\n";
}

int UsageError(const std::string& problem) {
  std::cerr << "kolbrix2vantor-gui: " << problem << "\n" << kUsage << kTryHelp;
  return 2;
}

// Qt's own options, which QApplication takes out of the arguments (also
// written with two dashes): those followed by a value, those written
// "-name=value", and those that stand alone.
constexpr std::array<std::string_view, 15> kQtOptionsWithValue = {
    "-platform",        "-platformpluginpath", "-platformtheme", "-plugin",
    "-qwindowgeometry", "-qwindowicon",        "-qwindowtitle",  "-session",
    "-display",         "-geometry",           "-title",         "-icon",
    "-style",           "-stylesheet",         "-name"};
constexpr std::array<std::string_view, 5> kQtOptionsJoined = {
    "-style=", "-stylesheet=", "-qmljsdebugger=", "-dialogs=", "-fontengine="};
constexpr std::array<std::string_view, 6> kQtFlags = {"-reverse", "-widgetcount", "-nograb",
                                                      "-dograb",  "-sync",        "-testability"};

// How many arguments Qt's option at args[i] takes: 1 or 2 (with its value),
// or 0 when it is none of Qt's.
size_t QtOptionLength(const std::vector<std::string>& args, size_t i) {
  std::string_view arg = args[i];
  if (arg.starts_with("--")) arg.remove_prefix(1);
  if (!arg.starts_with("-")) return 0;
  for (std::string_view option : kQtOptionsWithValue) {
    if (arg == option) return i + 1 < args.size() ? 2 : 1;
  }
  for (std::string_view option : kQtOptionsJoined) {
    if (arg.starts_with(option)) return 1;
  }
  for (std::string_view option : kQtFlags) {
    if (arg == option) return 1;
  }
  return 0;
}

// What the program's own arguments ask for.
struct ProgramOptions {
  std::string systemDir;
  bool systemDirGiven = false;
  std::string radudi;
};

// Reads the program's own options, passing over Qt's. Returns -1 to go on
// and open the window, else the exit status after help, the version or a
// usage error: all of these are answered before Qt starts, so that they
// need no display.
int ReadProgramOptions(const std::vector<std::string>& args, ProgramOptions& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (const size_t qt = QtOptionLength(args, i)) {
      i += qt - 1;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      PrintHelp();
      return 0;
    }
    if (arg == "--version" || arg == "-V") {
      std::cout << "kolbrix2vantor-gui " << K2V_VERSION << "\n";
      return 0;
    }
    const k2v::OptionValue systemDirOption = k2v::TakeOptionValue(args, i, "--system-dir", "", options.systemDir);
    if (systemDirOption == k2v::OptionValue::Taken) {
      options.systemDirGiven = true;
      continue;
    }
    if (systemDirOption == k2v::OptionValue::Missing) return UsageError("option '--system-dir' requires an argument");
    const k2v::OptionValue radudiOption = k2v::TakeOptionValue(args, i, "--radudi", "", options.radudi);
    if (radudiOption == k2v::OptionValue::Taken) {
      if (options.radudi.empty()) return UsageError("option '--radudi' needs a folder");
      continue;
    }
    if (radudiOption == k2v::OptionValue::Missing) return UsageError("option '--radudi' requires an argument");
    if (arg.rfind('-', 0) == 0) return UsageError("unrecognized option '" + arg + "'");
    return UsageError("unexpected argument '" + arg + "'");
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  k2v::IgnoreFileSizeSignal();
  ProgramOptions options;
  if (const int status = ReadProgramOptions(k2v::CommandLineArguments(argc, argv), options); status >= 0) {
    return status;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName("kolbrix2vantor-gui");
  QApplication::setApplicationVersion(K2V_VERSION);
  // The installed desktop entry and icon.
  QGuiApplication::setDesktopFileName("kolbrix2vantor");
  QApplication::setWindowIcon(QIcon::fromTheme("kolbrix2vantor"));

  k2v::WindowSetup setup;
  if (!options.radudi.empty()) {
    setup.givenRadudi = options.radudi;
    setup.givenRadudiBy = "--radudi";
  }
  if (setup.givenRadudi.empty()) {
    const char* fromEnvironment = std::getenv(kRadudiVariable);
    if (fromEnvironment && *fromEnvironment) {
      setup.givenRadudi = fromEnvironment;
      setup.givenRadudiBy = std::string("環境変数 ") + kRadudiVariable;
    }
  }
  setup.givenRadudi = k2v::AbsoluteAtStart(setup.givenRadudi);

  if (!k2v::InstallJapaneseQtTexts(app)) {
    std::cerr << "kolbrix2vantor-gui: Qt's Japanese translation (qtbase_ja.qm) is not installed; "
                 "the buttons keep their English texts\n";
  }
  if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
  // A Japanese Gothic face at the size the layout was drawn for.
  QFont font;
  font.setFamilies({"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic", "Sans Serif"});
  font.setPixelSize(12);
  QApplication::setFont(font);

  setup.volumes = k2v::MountedVolumes();
  setup.programFolder = k2v::ProgramFolder();
  if (options.systemDirGiven) setup.runOptions.systemDir = options.systemDir;

  k2v::Form1Widget window(setup);
  if (!window.Model().Form_Load()) return 1;
  window.show();
  return QApplication::exec();
}
