// kolbrix2vantor-gui [--system-dir DIR] [--radudi DIR] [--batch]: the
// converter's window, or its batch window.

#include <QApplication>
#include <array>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/application.hpp"
#include "app/batch_widget.hpp"
#include "app/form1_widget.hpp"
#include "platform/arguments.hpp"
#include "platform/files.hpp"
#include "window/window_options.hpp"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
  k2v::IgnoreFileSizeSignal();
  const k2v::WindowCommand command =
      k2v::ReadWindowCommand(k2v::CommandLineArguments(argc, argv), QtOptionLength,
                             "Qt's own options (-platform, -style, ...) are taken as well.\n");
  if (command.action == k2v::WindowCommand::Action::Answer) {
    (command.error ? std::cerr : std::cout) << command.text;
    return command.status;
  }

  QApplication app(argc, argv);
  if (!k2v::SetUpApplication(app)) {
    std::cerr << "kolbrix2vantor-gui: Qt's Japanese translation (qtbase_ja.qm) is not installed; "
                 "the buttons keep their English texts\n";
  }
  if (command.action == k2v::WindowCommand::Action::OpenBatchWindow) {
    k2v::BatchWidget batch(k2v::BatchWindowSetup{command.setup.runOptions});
    batch.show();
    return QApplication::exec();
  }
  k2v::Form1Widget window(command.setup);
  if (!window.Model().Form_Load()) return 1;
  window.show();
  return QApplication::exec();
}
