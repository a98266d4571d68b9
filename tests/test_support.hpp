#pragma once
// Shared helpers of the tests (test_support_core.hpp), and the GoogleTest
// fixture of a conversion into real folders.

#include <gtest/gtest.h>

#include <string>

#include "convert/conversion_context.hpp"
#include "platform/files.hpp"
#include "test_support_core.hpp"

namespace k2v::test {

// A source folder "export" and a destination folder "dest" in a temporary
// folder, and a conversion context that points at them.
class ConversionTest : public ::testing::Test {
 protected:
  ConversionTest() {
    std::filesystem::create_directories(root / "export");
    std::filesystem::create_directories(root / "dest");
    ctx.SourceFolder = PathText(root / "export") + Sep();
    ctx.DestinationPath = PathText(root / "dest") + Sep();
  }
  // Writes a source file as CP932.
  void Source(const std::string& name, const std::string& utf8) const { WriteSjis(root / "export" / name, utf8); }
  // The bytes of a destination file.
  std::string Output(const std::string& name) const { return ReadBytes(root / "dest" / name); }

  TempDir root;
  ConversionContext ctx;
};

}  // namespace k2v::test
