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

TEST(LanguageTable, HoldsTheTenLanguagesInSettingOrder) {
    EXPECT_EQ(findLanguage(0), nullptr);
    EXPECT_EQ(findLanguage(11), nullptr);
    const int confirmations[] = {2570, 2571, 2573, 2572, 413, 414, 415, 2570, 441, 2570};
    for (int value = 1; value <= 10; ++value) {
        ASSERT_NE(findLanguage(value), nullptr);
        EXPECT_EQ(findLanguage(value)->value, value);
        EXPECT_EQ(findLanguage(value)->confirmationId, confirmations[value - 1]);
    }
    EXPECT_STREQ(findLanguage(7)->fileName, "LangPLK.po");
}

TEST(EnglishCatalog, HoldsTheTextsTheModelNeeds) {
    ::unsetenv("QELTO_LANG_DIR");
    const auto catalog = LanguageCatalog::load(languageDir() / "LangEN.po");
    ASSERT_TRUE(catalog) << languageDir();
    for (const int id : {155, 156, 217, 218, 240, 345, 346, 377, 386, 395, 2570}) {
        EXPECT_FALSE(catalog->text(id).empty() || catalog->text(id).starts_with('#')) << id;
    }
    EXPECT_EQ(catalog->text(240), "Pump");
    // The chemical key prefix in qelto.ini: one word, and no digit to blur the number after it.
    EXPECT_EQ(catalog->text(377).find_first_of("0123456789 \t=[];"), std::string::npos);
}

}  // namespace
}  // namespace qelto::platform
