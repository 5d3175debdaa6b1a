#include "platform/language_catalog.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/user_paths.h"
#include "support/test_env.h"

namespace qelto::platform {
namespace {

using test::testDir;
using test::writeFile;

TEST(LanguageCatalogParse, TakesTextByNumberFromMsgctxt) {
    const auto catalog = LanguageCatalog::parse(
        "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
        "msgctxt \"240\"\nmsgid \"Pump\"\nmsgstr \"Pompe\"\n");
    EXPECT_EQ(catalog.size(), 1u);
    EXPECT_EQ(catalog.find(240), "Pompe");
}

TEST(LanguageCatalogParse, JoinsContinuedStrings) {
    const auto catalog = LanguageCatalog::parse(
        "msgctxt \"217\"\nmsgid \"\"\n\"Old \"\n\"format\"\nmsgstr \"\"\n\"Altes \"\n  "
        "\"Format\"\n");
    EXPECT_EQ(catalog.find(217), "Altes Format");
}

TEST(LanguageCatalogParse, DecodesEscapes) {
    const auto catalog = LanguageCatalog::parse(
        "msgctxt \"1\"\nmsgid \"x\"\nmsgstr \"a\\nb\\tc\\\"d\\\\e\\rf\\101\\x42\"\n");
    EXPECT_EQ(catalog.find(1), "a\nb\tc\"d\\e\rfAB");
}

TEST(LanguageCatalogParse, EmptyOrFuzzyTranslationFallsBackToMsgid) {
    const auto catalog = LanguageCatalog::parse(
        "msgctxt \"386\"\nmsgid \"No Chemical\"\nmsgstr \"\"\n\n"
        "#, c-format, fuzzy\nmsgctxt \"395\"\nmsgid \"Empty list\"\nmsgstr \"Liste vide?\"\n");
    EXPECT_EQ(catalog.find(386), "No Chemical");
    EXPECT_EQ(catalog.find(395), "Empty list");
}

TEST(LanguageCatalogParse, ObsoleteEntriesAreIgnored) {
    const auto catalog = LanguageCatalog::parse(
        "#~ msgctxt \"5\"\n#~ msgid \"Gone\"\n#~ msgstr \"Parti\"\n"
        "msgctxt \"6\"\nmsgid \"Kept\"\nmsgstr \"Garde\"\n");
    EXPECT_FALSE(catalog.find(5));
    EXPECT_EQ(catalog.find(6), "Garde");
}

TEST(LanguageCatalogParse, EntriesNeedNoBlankLineBetweenThem) {
    const auto catalog = LanguageCatalog::parse(
        "msgctxt \"1\"\nmsgid \"a\"\nmsgstr \"A\"\nmsgctxt \"2\"\nmsgid \"b\"\nmsgstr \"B\"\n"
        "# translator note\nmsgctxt \"3\"\nmsgid \"c\"\nmsgstr \"C\"");
    EXPECT_EQ(catalog.find(1), "A");
    EXPECT_EQ(catalog.find(2), "B");
    EXPECT_EQ(catalog.find(3), "C");
}

TEST(LanguageCatalogParse, PluralEntryTakesItsFirstForm) {
    const auto catalog = LanguageCatalog::parse(
        "msgctxt \"9\"\nmsgid \"%d pump\"\nmsgid_plural \"%d pumps\"\n"
        "msgstr[0] \"%d Pumpe\"\nmsgstr[1] \"%d Pumpen\"\n");
    EXPECT_EQ(catalog.find(9), "%d Pumpe");
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
}

TEST(LanguageCatalogParse, MissingTextShowsItsNumber) {
    const auto catalog = LanguageCatalog::parse("");
    EXPECT_FALSE(catalog.find(218));
    EXPECT_EQ(catalog.text(218), "#218");
}

TEST(LanguageCatalogLoad, UnreadableFileGivesNothing) {
    EXPECT_FALSE(LanguageCatalog::load(testDir() / "LangXX.po"));
}

TEST(LanguageCatalogLoad, SettingWithoutALanguageLoadsEnglish) {
    ::setenv("QELTO_LANG_DIR", testDir().c_str(), 1);
    writeFile(testDir() / "LangEN.po", "msgctxt \"2570\"\nmsgid \"English\"\nmsgstr \"\"\n");
    writeFile(testDir() / "LangGER.po", "msgctxt \"2572\"\nmsgid \"German\"\nmsgstr \"Deutsch\"\n");
    const auto english = LanguageCatalog::loadForSetting(0);
    const auto beyond = LanguageCatalog::loadForSetting(11);
    const auto german = LanguageCatalog::loadForSetting(4);
    const auto spanish = LanguageCatalog::loadForSetting(2);
    ::unsetenv("QELTO_LANG_DIR");
    ASSERT_TRUE(english && beyond && german);
    EXPECT_EQ(english->find(2570), "English");
    EXPECT_EQ(beyond->find(2570), "English");
    EXPECT_EQ(german->find(2572), "Deutsch");
    EXPECT_FALSE(spanish);
}

TEST(LanguageTable, HoldsTheTenLanguagesInSettingOrder) {
    EXPECT_EQ(findLanguage(0), nullptr);
    EXPECT_EQ(findLanguage(11), nullptr);
    const int confirmations[] = {2570, 2571, 2573, 2572, 413, 414, 415, 2570, 441, 2570};
    for (int value = 1; value <= 10; ++value) {
        const LanguageInfo* language = findLanguage(value);
        ASSERT_NE(language, nullptr);
        EXPECT_EQ(language->value, value);
        EXPECT_EQ(language->confirmationId, confirmations[value - 1]);
    }
    EXPECT_STREQ(findLanguage(1)->fileName, "LangEN.po");
    EXPECT_STREQ(findLanguage(7)->fileName, "LangPLK.po");
    EXPECT_STREQ(findLanguage(8)->name, "American English");
}

class EnglishCatalog : public ::testing::Test {
  protected:
    void SetUp() override {
        ::unsetenv("QELTO_LANG_DIR");
        auto loaded = LanguageCatalog::load(languageDir() / "LangEN.po");
        ASSERT_TRUE(loaded) << languageDir();
        catalog_ = std::move(*loaded);
    }
    LanguageCatalog catalog_;
};

TEST_F(EnglishCatalog, HoldsTheTextsTheModelNeeds) {
    for (const int id : {155, 156, 217, 218, 240, 345, 346, 377, 386, 395, 2570}) {
        const auto text = catalog_.find(id);
        ASSERT_TRUE(text) << id;
        EXPECT_FALSE(text->empty()) << id;
    }
    EXPECT_EQ(catalog_.text(240), "Pump");
}

TEST_F(EnglishCatalog, ChemicalKeyPrefixIsOneWordWithoutDigits) {
    const std::string prefix = catalog_.text(377);
    ASSERT_FALSE(prefix.empty());
    EXPECT_EQ(prefix.find_first_of("0123456789 \t=[];"), std::string::npos) << prefix;
}

}  // namespace
}  // namespace qelto::platform
