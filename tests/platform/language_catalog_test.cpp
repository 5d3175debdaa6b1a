#include "platform/language_catalog.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_env.h"

namespace qelto::platform {
namespace {

using test::testDir;
using test::writeFile;

// Continued strings are joined and escapes decoded; an untranslated or fuzzy entry shows its
// msgid; obsolete entries are ignored and comments start entries; malformed entries are skipped
// and the rest kept; a missing number shows as "#218".
TEST(LanguageCatalogParse, ReadsEntriesAsGettextWritesThem) {
    const auto catalog = LanguageCatalog::parse(
        "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
        "msgctxt \"217\"\nmsgid \"\"\n\"Old \"\n\"format\"\nmsgstr \"\"\n\"Altes \"\n  \"Format\"\n"
        "msgctxt \"1\"\nmsgid \"x\"\nmsgstr \"a\\nb\\tc\\\"d\\\\e\\rf\"\n"
        "msgctxt \"386\"\nmsgid \"No Chemical\"\nmsgstr \"\"\n\n"
        "#, c-format, fuzzy\nmsgctxt \"395\"\nmsgid \"Empty list\"\nmsgstr \"Liste vide?\"\n"
        "#~ msgctxt \"5\"\n#~ msgid \"Gone\"\n#~ msgstr \"Parti\"\n"
        "msgctxt \"6\"\nmsgid \"a\"\nmsgstr \"A\"\n# note\nmsgctxt \"7\"\nmsgid \"b\"\nmsgstr "
        "\"B\"\n"
        "msgctxt \"8\"\nmsgid \"unterminated\nmsgstr \"x\"\n\n"
        "msgctxt \"9\"\nmsgid \"a\"\nbogus \"b\"\nmsgstr \"c\"\n\n"
        "msgctxt \"4\"\r\nmsgid \"ok\"\r\nmsgstr \"fine\"\r\n");
    const std::pair<int, const char*> found[] = {{217, "Altes Format"},
                                                 {1, "a\nb\tc\"d\\e\rf"},
                                                 {386, "No Chemical"},
                                                 {395, "Empty list"},
                                                 {6, "A"},
                                                 {7, "B"},
                                                 {4, "fine"}};
    for (const auto& [number, text] : found) {
        EXPECT_EQ(catalog.find(number), text) << number;
    }
    EXPECT_EQ(catalog.size(), std::size(found));
    EXPECT_FALSE(catalog.find(5));
    EXPECT_EQ(catalog.text(218), "#218");
}

TEST(LanguageCatalogLoad, SettingWithoutALanguageLoadsEnglish) {
    ::setenv("QELTO_LANG_DIR", testDir().c_str(), 1);
    writeFile(testDir() / "LangEN.po", "msgctxt \"2570\"\nmsgid \"English\"\nmsgstr \"\"\n");
    writeFile(testDir() / "LangGER.po", "msgctxt \"2572\"\nmsgid \"German\"\nmsgstr \"Deutsch\"\n");
    const auto beyond = LanguageCatalog::loadForSetting(11);
    const auto german = LanguageCatalog::loadForSetting(4);
    const auto spanish = LanguageCatalog::loadForSetting(2);
    ::unsetenv("QELTO_LANG_DIR");
    ASSERT_TRUE(beyond && german);
    EXPECT_EQ(beyond->find(2570), "English");
    EXPECT_EQ(german->find(2572), "Deutsch");
    EXPECT_FALSE(spanish);
}

}  // namespace
}  // namespace qelto::platform
