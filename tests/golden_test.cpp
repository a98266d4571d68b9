// The golden folders. Every folder of tests/data that holds a source/ folder
// is a Kolbrix export, converted by the run's stages into a new destination
// whose files must be exactly those of its expected/ folder, names and
// bytes. Beside them a folder may hold:
//   destination/  files that lie in the destination before the conversion
//   vocabulary/   G10A.TXT and D12A.TXT, the vocabulary of the run
//   radudi/       Vantor's L9.txt and L22.txt, named by Radudi32.ini
// CNT.TXT names the levels of /GANBAN/K001/S01/B02.
//
// K2V_UPDATE_GOLDEN=1 ctest -R golden writes what the conversion makes into
// expected/ instead of comparing; git diff then shows what changed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "run/conversion_run.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(K2V_TEST_DATA_DIR);

// The cases, as CMake found them (K2V_GOLDEN_CASES, separated by commas).
std::vector<std::string> Cases() {
  std::vector<std::string> cases;
  std::istringstream list(K2V_GOLDEN_CASES);
  for (std::string name; std::getline(list, name, ',');) cases.push_back(name);
  return cases;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, ConvertsTheExportIntoTheExpectedFiles) {
  const fs::path folder = kData / GetParam();
  test::TempDir root;
  const fs::path destination = root / "destination";
  if (fs::exists(folder / "destination")) {
    fs::copy(folder / "destination", destination);
  } else {
    fs::create_directories(destination);
  }
  fs::create_directories(root / "system");
  if (fs::exists(folder / "radudi")) {
    test::WriteBytes(root / "system" / "Radudi32.ini", "[RADUDI]\r\n" + PathText(folder / "radudi") + test::Sep());
  }

  ConversionContext ctx;
  ctx.SourceFolder = PathText(folder / "source") + test::Sep();
  ctx.DestinationPath = PathText(destination) + test::Sep();
  ctx.SystemDirs = {PathText(root / "system")};
  BuildSoilWordTables(ctx.SoilTables, PathText(folder / "vocabulary") + test::Sep());
  ConvertStages(ctx, {"K001", "S01", "B02"}, 1);

  if (const char* update = std::getenv("K2V_UPDATE_GOLDEN"); update && std::string(update) == "1") {
    fs::remove_all(folder / "expected");
    fs::copy(destination, folder / "expected");
    return;
  }
  const test::Tree expected = test::SnapshotTree(folder / "expected");
  const test::Tree converted = test::SnapshotTree(destination);
  EXPECT_TRUE(converted == expected) << test::DescribeDifference(expected, converted)
                                     << " (K2V_UPDATE_GOLDEN=1 ctest -R golden rewrites expected/)";
}

INSTANTIATE_TEST_SUITE_P(golden, Golden, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace k2v
