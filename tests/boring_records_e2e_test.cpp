#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "convert/boring_records.hpp"
#include "platform/files.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

const fs::path kCase = fs::path(K2V_TEST_DATA_DIR) / "records_e2e";

class BoringRecordsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(kCase / "source", root / "export");
    fs::create_directories(root / "system");
    // Vantor's settings name the pattern-data folder on line 2 (LF line ends).
    test::WriteSjis(root / "system" / "Radudi32.ini", "[RADUDI]\n" + (kCase / "radudi").string() + "/\n");
  }

  ConversionContext Context(const std::string& dest = "dest") const {
    fs::create_directories(root / dest);
    // The X5 headers lie in the destination. (Removed first: mingw's
    // copy_file does not overwrite.)
    for (const char* header : {"X5.hed", "X5.hd2"}) {
      fs::remove(root / dest / header);
      fs::copy_file(kCase / "destination" / header, root / dest / header);
    }
    ConversionContext ctx;
    ctx.SourceFolder = (root / "export").string() + "/";
    ctx.DestinationPath = (root / dest).string() + "/";
    ctx.SystemDirs = {(root / "system").string()};
    BuildSoilWordTables(ctx.SoilTables, (kCase / "vocabulary").string() + "/");
    return ctx;
  }

  test::TempDir root;
};

// Side by side on several workers, the steps write what they write one by
// one (tests/data/records_e2e holds the bytes).
TEST_F(BoringRecordsEndToEnd, SideBySideWritesWhatOneByOneWrites) {
  ConvertBoringRecords(Context("one"), 1);
  const test::Tree oneByOne = test::SnapshotTree(root / "one");
  EXPECT_FALSE(fs::exists(root / "one" / "X5.hed"));
  for (unsigned workers : {2u, 5u}) {
    const std::string dest = "side" + std::to_string(workers);
    const StepResult result = ConvertBoringRecords(Context(dest), workers);
    EXPECT_TRUE(result.Warnings.empty());
    EXPECT_EQ(result.LayerCount, 1);
    const test::Tree sideBySide = test::SnapshotTree(root / dest);
    EXPECT_TRUE(sideBySide == oneByOne) << workers << " workers: " << test::DescribeDifference(oneByOne, sideBySide);
  }
  // The export is only read: its empty R35.TXT stays.
  EXPECT_EQ(test::Snapshot(root / "export"), test::Snapshot(kCase / "source"));
}

// Side by side, the steps' warnings come in the steps' order, and of two
// failures the one reported is that of the earlier step, as one by one.
TEST_F(BoringRecordsEndToEnd, SideBySideReportsWhatOneByOneWould) {
  fs::remove(root / "system" / "Radudi32.ini");
  for (unsigned workers : {1u, 2u}) {
    SCOPED_TRACE(workers);
    ConversionContext ctx = Context();
    const StepResult result = ConvertBoringRecords(ctx, workers);
    ASSERT_EQ(result.Warnings.size(), 1u);
    EXPECT_NE(result.Warnings[0].find("Radudi32.ini"), std::string::npos);

    // The layer table is the first step, which the workers take last; X7
    // the last, which they take before it.
    SetFaultHook([](FileOperation op, const std::string& path) {
      const bool d10b = path.find("D10B.txt") != std::string::npos, n7 = path.find("N7.txt") != std::string::npos;
      return op == FileOperation::Create && (d10b || n7) ? EIO : 0;
    });
    ConversionContext failing = Context();
    std::string reported;
    try {
      ConvertBoringRecords(failing, workers);
    } catch (const FileError& e) {
      reported = e.path();
    }
    SetFaultHook(nullptr);
    EXPECT_NE(reported.find("D10B.txt"), std::string::npos) << reported;
  }
}

}  // namespace
}  // namespace k2v
