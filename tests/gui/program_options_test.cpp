// The window program's own options: help, the version and usage errors are
// answered before Qt starts, so they need no display; Qt's options are
// passed over.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.hpp"
#include "version.hpp"

namespace k2v {
namespace {

const std::string kUsageLines =
    "Usage: kolbrix2vantor-gui [--system-dir DIR] [--radudi DIR] [--batch]\n"
    "Try 'kolbrix2vantor-gui --help' for more information.\n";

struct Case {
  std::vector<std::string> args;
  int status;
  std::string out;  // the start of standard output
  std::string err;
};

TEST(WindowProgramOptions, AreAnsweredWithoutADisplay) {
  // No display of any kind: Qt would end the program if it were started.
  test::ScopedEnv display("DISPLAY", nullptr);
  test::ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
  test::ScopedEnv platform("QT_QPA_PLATFORM", nullptr);
  const std::vector<Case> cases = {
      {{"--bogus"}, 2, "", "kolbrix2vantor-gui: unrecognized option '--bogus'\n" + kUsageLines},
      {{"-style", "fusion", "--platform", "xcb", "B02"},
       2,
       "",
       "kolbrix2vantor-gui: unexpected argument 'B02'\n" + kUsageLines},
      {{"--system-dir"}, 2, "", "kolbrix2vantor-gui: option '--system-dir' requires an argument\n" + kUsageLines},
      {{"--radudi="}, 2, "", "kolbrix2vantor-gui: option '--radudi' needs a folder\n" + kUsageLines},
      {{"--radudi", "/r", "-V"}, 0, "kolbrix2vantor-gui " K2V_VERSION "\n", ""},
      {{"-reverse", "--help"}, 0, "Usage: kolbrix2vantor-gui [--system-dir DIR] [--radudi DIR] [--batch]\n", ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), K2V_GUI_PATH);
    std::string out, err;
    SCOPED_TRACE(args[1]);
    EXPECT_EQ(test::RunCommand(args, out, err), c.status);
    EXPECT_EQ(out.substr(0, c.out.size()), c.out);
    if (c.out.empty()) {
      EXPECT_EQ(out, "");
    }
    EXPECT_EQ(err, c.err);
  }
}

}  // namespace
}  // namespace k2v
