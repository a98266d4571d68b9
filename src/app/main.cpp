// kolbrix2vantor-gui [--system-dir DIR] [--radudi DIR]: the converter's window.

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QStyleFactory>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/form1_widget.hpp"
#include "app/japanese_texts.hpp"
#include "platform/arguments.hpp"
#include "platform/files.hpp"
#include "platform/radudi_search.hpp"
#include "platform/volumes.hpp"

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

// Absolute against the folder the program started in; a folder list may
// change the current folder later.
std::string Absolute(const std::string& text) {
  if (text.empty()) return text;
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(k2v::NativePath(text), ec);
  return ec ? text : k2v::PathText(p.lexically_normal());
}

}  // namespace

int main(int argc, char** argv) {
  k2v::IgnoreFileSizeSignal();
  // Help and version are answered before Qt starts: they need no display.
  for (const std::string& arg : k2v::CommandLineArguments(argc, argv)) {
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") {
      PrintHelp();
      return 0;
    }
    if (arg == "--version" || arg == "-V") {
      std::cout << "kolbrix2vantor-gui " << K2V_VERSION << "\n";
      return 0;
    }
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName("kolbrix2vantor-gui");
  QApplication::setApplicationVersion(K2V_VERSION);
  // The installed desktop entry and icon.
  QGuiApplication::setDesktopFileName("kolbrix2vantor");
  QApplication::setWindowIcon(QIcon::fromTheme("kolbrix2vantor"));

  k2v::WindowSetup setup;
  std::string systemDir;
  bool systemDirGiven = false;
  // What Qt left of the arguments, its own options taken out.
  std::vector<std::string> args;
  const QStringList remaining = QApplication::arguments();
  for (qsizetype i = 1; i < remaining.size(); ++i) args.push_back(remaining[i].toStdString());
  for (size_t i = 0; i < args.size(); ++i) {
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
    const char* fromEnvironment = std::getenv(kRadudiVariable);
    if (fromEnvironment && *fromEnvironment) {
      setup.givenRadudi = fromEnvironment;
      setup.givenRadudiBy = std::string("環境変数 ") + kRadudiVariable;
    }
  }
  setup.givenRadudi = Absolute(setup.givenRadudi);

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
  setup.runOptions = k2v::RunOptions{systemDirGiven ? systemDir : k2v::SysDir()};

  k2v::Form1Widget window(setup);
  if (!window.Model().Form_Load()) return 1;
  window.show();
  return QApplication::exec();
}
