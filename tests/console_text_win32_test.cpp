// The command line's text in a Windows console and in a file, under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/console_text.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

namespace fs = std::filesystem;

// A console of the test's own, with the code page the test gives it.
class ConsoleTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeConsole();
    ASSERT_TRUE(AllocConsole()) << "no console: the tests need a display (scripts/windows_test.sh starts Xvfb)";
  }
  void TearDown() override { FreeConsole(); }

  // Writes the text through the buffer of the handle, in the pieces given.
  static void Write(HANDLE handle, std::initializer_list<std::string> pieces) {
    const std::unique_ptr<std::streambuf> buffer = HandleTextBuffer(handle);
    std::ostream stream(buffer.get());
    for (const std::string& piece : pieces) stream << piece << std::flush;
  }
  // A screen buffer of the console; inheritable, for a program started from the test.
  static HANDLE ScreenBuffer() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                     CONSOLE_TEXTMODE_BUFFER, nullptr);
  }
  // The characters of the screen buffer's first line, without its padding.
  static std::wstring FirstLine(HANDLE screen) {
    std::wstring line(200, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, line.data(), static_cast<DWORD>(line.size()), COORD{0, 0}, &read);
    line.resize(read);
    line.erase(line.find_last_not_of(L' ') + 1);
    return line;
  }
  HANDLE File(const fs::path& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  }

  test::TempDir root;
};

TEST_F(ConsoleTextTest, AFileGetsTheBytesOfTheConsolesCodePage) {
  // A character cut in two by a flush comes out whole; an escaped CP932 byte
  // of a path goes back to its byte.
  const std::string text = "ﾌｫﾙﾀﾞがありません。新規作成しますか？";
  ASSERT_TRUE(SetConsoleOutputCP(932));
  HANDLE file = File(root / "cp932");
  Write(file, {text.substr(0, 4), text.substr(4) + " \xED\xB2\x81\n"});
  CloseHandle(file);
  EXPECT_EQ(test::ReadBytes(root / "cp932"), test::Sjis(text) + " \x81\n");

  ASSERT_TRUE(SetConsoleOutputCP(CP_UTF8));
  file = File(root / "utf8");
  Write(file, {text + "\n"});
  CloseHandle(file);
  EXPECT_EQ(test::ReadBytes(root / "utf8"), text + "\n");
}

TEST_F(ConsoleTextTest, AConsoleGetsTheCharactersWhateverItsCodePage) {
  ASSERT_TRUE(SetConsoleOutputCP(437));
  HANDLE screen = ScreenBuffer();
  ASSERT_NE(screen, INVALID_HANDLE_VALUE);
  Write(screen, {"変換が正常に終了しました。ﾌｫﾙﾀﾞ"});
  EXPECT_EQ(FirstLine(screen), L"変換が正常に終了しました。ﾌｫﾙﾀﾞ");
  CloseHandle(screen);
}

TEST_F(ConsoleTextTest, TheCommandsJapaneseHelpIsReadableInAConsoleAndInAFile) {
  test::ScopedMessageLanguage japanese("ja_JP.UTF-8");
  ASSERT_TRUE(SetConsoleOutputCP(932));
  HANDLE screen = ScreenBuffer();
  ASSERT_NE(screen, INVALID_HANDLE_VALUE);
  EXPECT_EQ(test::RunWithStandardHandles({K2V_CLI_PATH, "--help"}, nullptr, screen, screen), 0);
  EXPECT_EQ(FirstLine(screen).rfind(L"使い方: kolbrix2vantor [--yes]", 0), 0u);
  CloseHandle(screen);

  HANDLE file = File(root / "help");
  EXPECT_EQ(test::RunWithStandardHandles({K2V_CLI_PATH, "--help"}, nullptr, file, file), 0);
  CloseHandle(file);
  EXPECT_EQ(test::ReadBytes(root / "help").rfind(test::Sjis("使い方: kolbrix2vantor [--yes]"), 0), 0u);
}

}  // namespace
}  // namespace k2v
