#include "window/window_options.hpp"

#include "platform/arguments.hpp"
#include "platform/system_folders.hpp"
#include "platform/volumes.hpp"
#include "run/vantor_folders.hpp"
#include "version.hpp"

namespace k2v {

namespace {

constexpr const char* kProgram = "kolbrix2vantor-gui";
constexpr const char* kUsage = "Usage: kolbrix2vantor-gui [--system-dir DIR] [--radudi DIR] [--batch]\n";
constexpr const char* kTryHelp = "Try 'kolbrix2vantor-gui --help' for more information.\n";
constexpr const char* kRadudiVariable = "KOLBRIX2VANTOR_RADUDI";

std::string Help(const std::string& toolkitHelp) {
  return std::string(kUsage) +
         "Open the window that converts a Kolbrix export into Vantor's data files.\n"
         "\n"
         "      --system-dir DIR  folder that holds Radudi32.ini\n"
         "      --radudi DIR      Vantor's pattern-data folder RADUDI (a folder that\n"
         "                        holds a non-empty kishitu.txt); skips the search\n"
         "      --batch           open the batch window (一括変換), which converts every\n"
         "                        export below a site folder as kolbrix2vantor --batch\n"
         "  -h, --help            display this help and exit\n"
         "  -V, --version         output version information and exit\n"
         "\n" +
         SysDirLookupHelp() +
         "\n"
         "RADUDI is the folder of --radudi, else of " +
         EnvironmentNotation(kRadudiVariable) +
         ", else the first\n"
         "one found beside the program, then in every folder of the program's drive\n"
         "(volume), then of every other one.\n" +
         toolkitHelp;
}

WindowCommand Answer(std::string text, int status, bool error = false) {
  WindowCommand command;
  command.action = WindowCommand::Action::Answer;
  command.text = std::move(text);
  command.status = status;
  command.error = error;
  return command;
}

WindowCommand UsageError(const std::string& problem) {
  return Answer(std::string(kProgram) + ": " + problem + "\n" + kUsage + kTryHelp, 2, true);
}

}  // namespace

WindowCommand ReadWindowCommand(const std::vector<std::string>& args, const ToolkitOptionLength& toolkitOption,
                                const std::string& toolkitHelp) {
  WindowCommand command;
  std::string systemDir;
  bool systemDirGiven = false;
  std::string radudi;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (const size_t own = toolkitOption ? toolkitOption(args, i) : 0) {
      i += own - 1;
      continue;
    }
    if (arg == "--help" || arg == "-h") return Answer(Help(toolkitHelp), 0);
    if (arg == "--version" || arg == "-V") return Answer(std::string(kProgram) + " " + K2V_VERSION + "\n", 0);
    if (arg == "--batch") {
      command.action = WindowCommand::Action::OpenBatchWindow;
      continue;
    }
    const OptionValue systemDirOption = TakeOptionValue(args, i, "--system-dir", "", systemDir);
    if (systemDirOption == OptionValue::Taken) {
      systemDirGiven = true;
      continue;
    }
    if (systemDirOption == OptionValue::Missing) return UsageError("option '--system-dir' requires an argument");
    const OptionValue radudiOption = TakeOptionValue(args, i, "--radudi", "", radudi);
    if (radudiOption == OptionValue::Taken) {
      if (radudi.empty()) return UsageError("option '--radudi' needs a folder");
      continue;
    }
    if (radudiOption == OptionValue::Missing) return UsageError("option '--radudi' requires an argument");
    if (arg.rfind('-', 0) == 0) return UsageError("unrecognized option '" + arg + "'");
    return UsageError("unexpected argument '" + arg + "'");
  }

  WindowSetup& setup = command.setup;
  if (systemDirGiven) setup.runOptions.systemDir = systemDir;
  if (!radudi.empty()) {
    setup.givenRadudi = radudi;
    setup.givenRadudiBy = "--radudi";
  } else if (const std::string named = EnvironmentText(kRadudiVariable); !named.empty()) {
    setup.givenRadudi = named;
    setup.givenRadudiBy = std::string("環境変数 ") + kRadudiVariable;
  }
  setup.givenRadudi = AbsoluteAtStart(setup.givenRadudi);
  setup.volumes = MountedVolumes();
  setup.programFolder = ProgramFolder();
  return command;
}

}  // namespace k2v
