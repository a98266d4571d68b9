#include <gtest/gtest.h>

#include "cli/catalog.hpp"
#include "test_support.hpp"

namespace k2v {
namespace {

TEST(MessageText, PlaceholdersAreFilledInOrderOrByNumber) {
  struct Case {
    const char* pattern;
    const char* expected;
  };
  const Case cases[] = {
      {"%s lacks %s", "A lacks B"},   {"%2$s の中に %1$s", "B の中に A"},
      {"100%% of %s", "100% of A"},   {"%d and %s and %s and %s", "%d and A and B and %s"},
      {"ends with %", "ends with %"}, {"%3$s", "%3$s"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatText(c.pattern, {"A", "B"}), c.expected) << c.pattern;
}

TEST(MessageLanguage, TheFirstVariableSetDecidesThenTheSystemsInterface) {
  using L = MessageLanguage;
  EXPECT_EQ(ChooseMessageLanguage("", "", "ja_JP.UTF-8", ""), L::Japanese);
  EXPECT_EQ(ChooseMessageLanguage("", "", "ja", ""), L::Japanese);
  EXPECT_EQ(ChooseMessageLanguage("C", "", "ja_JP.UTF-8", ""), L::English);
  EXPECT_EQ(ChooseMessageLanguage("", "ja_JP.eucJP", "C.UTF-8", ""), L::Japanese);
  EXPECT_EQ(ChooseMessageLanguage("ja_JP.UTF-8", "C", "C", ""), L::Japanese);
  EXPECT_EQ(ChooseMessageLanguage("", "", "en_US.UTF-8", "ja-JP"), L::English);
  // Windows: no variable set, the user's display language.
  EXPECT_EQ(ChooseMessageLanguage("", "", "", "ja-JP"), L::Japanese);
  EXPECT_EQ(ChooseMessageLanguage("", "", "", "en-US"), L::English);
  EXPECT_EQ(ChooseMessageLanguage("", "", "", ""), L::English);
}

// The catalog that the build compiled from po/ja.po.
class CompiledCatalog : public ::testing::Test {
 protected:
  std::string bytes = test::ReadBytes(K2V_CATALOG_DIR "/ja/LC_MESSAGES/kolbrix2vantor.mo");
};

TEST_F(CompiledCatalog, FindsTranslationsAndTheFormOfAPlural) {
  const MoCatalog catalog(bytes);
  ASSERT_FALSE(catalog.empty());
  EXPECT_STREQ(catalog.Find("Converted:"), "変換済み:");
  EXPECT_STREQ(catalog.Find("unrecognized option '%s'"), "オプション '%s' はありません");
  EXPECT_EQ(catalog.Find("a text nobody wrote"), nullptr);
  EXPECT_STREQ(catalog.FindPlural("%s destination folder is missing:", 3), "変換先のフォルダが %s 個ありません:");
  EXPECT_STREQ(catalog.FindPlural("%s destination folder is missing:", 1), "変換先のフォルダが %s 個ありません:");
}

TEST_F(CompiledCatalog, DamagedBytesGiveAnEmptyCatalog) {
  EXPECT_TRUE(MoCatalog("not a catalog").empty());
  // Cut anywhere, the tables or the texts reach past the end.
  for (size_t size : {size_t{20}, size_t{100}, bytes.size() / 2, bytes.size() - 2}) {
    EXPECT_TRUE(MoCatalog(std::string_view(bytes).substr(0, size)).empty()) << size;
  }
}

}  // namespace
}  // namespace k2v
