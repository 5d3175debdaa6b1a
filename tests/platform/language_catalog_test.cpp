#include "platform/language_catalog.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/user_paths.h"
#include "support/test_env.h"

namespace qelto::platform {
namespace {

using test::testDir;
using test::writeFile;

TEST(LanguageCatalogParse, JoinsContinuedStringsAndDecodesEscapes) {
    const auto catalog = LanguageCatalog::parse(
        "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
        "msgctxt \"217\"\nmsgid \"\"\n\"Old \"\n\"format\"\nmsgstr \"\"\n\"Altes \"\n  \"Format\"\n"
        "msgctxt \"1\"\nmsgid \"x\"\nmsgstr \"a\\nb\\tc\\\"d\\\\e\\rf\"\n");
    EXPECT_EQ(catalog.size(), 2u);
    EXPECT_EQ(catalog.find(217), "Altes Format");
    EXPECT_EQ(catalog.find(1), "a\nb\tc\"d\\e\rf");
}

TEST(LanguageCatalogParse, UntranslatedOrFuzzyEntryShowsMsgid) {
    const auto catalog = LanguageCatalog::parse(
        "msgctxt \"386\"\nmsgid \"No Chemical\"\nmsgstr \"\"\n\n"
        "#, c-format, fuzzy\nmsgctxt \"395\"\nmsgid \"Empty list\"\nmsgstr \"Liste vide?\"\n");
    EXPECT_EQ(catalog.find(386), "No Chemical");
    EXPECT_EQ(catalog.find(395), "Empty list");
}

TEST(LanguageCatalogParse, ObsoleteEntriesAreIgnoredAndCommentsStartEntries) {
    const auto catalog = LanguageCatalog::parse(
        "#~ msgctxt \"5\"\n#~ msgid \"Gone\"\n#~ msgstr \"Parti\"\n"
        "msgctxt \"6\"\nmsgid \"a\"\nmsgstr \"A\"\n# note\nmsgctxt \"7\"\nmsgid \"b\"\nmsgstr "
        "\"B\"");
    EXPECT_FALSE(catalog.find(5));
    EXPECT_EQ(catalog.find(6), "A");
    EXPECT_EQ(catalog.find(7), "B");
}

TEST(LanguageCatalogParse, MalformedEntriesAreSkippedAndTheRestKept) {
    const auto catalog = LanguageCatalog::parse(
        "msgctxt \"1\"\nmsgid \"unterminated\nmsgstr \"x\"\n\n"
        "msgctxt \"two\"\nmsgid \"a\"\nmsgstr \"b\"\n\n"
        "msgctxt \"3\"\nmsgid \"a\"\nbogus \"b\"\nmsgstr \"c\"\n\n"
        "msgctxt \"1234567890\"\nmsgid \"a\"\nmsgstr \"b\"\n\n"
        "msgctxt \"4\"\r\nmsgid \"ok\"\r\nmsgstr \"fine\"\r\n");
    EXPECT_EQ(catalog.size(), 1u);
    EXPECT_EQ(catalog.find(4), "fine");
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

// The chemical key prefix in qelto.ini: one word, and no digit to blur the number after it.
TEST(EnglishCatalog, TheChemicalKeyPrefixIsOneWordWithoutDigits) {
    ::unsetenv("QELTO_LANG_DIR");
    const auto catalog = LanguageCatalog::load(languageDir() / "LangEN.po");
    ASSERT_TRUE(catalog) << languageDir();
    EXPECT_FALSE(catalog->text(377).empty());
    EXPECT_EQ(catalog->text(377).find_first_of("0123456789 \t=[];"), std::string::npos);
}

}  // namespace
}  // namespace qelto::platform
