#include <gtest/gtest.h>

#include "platform/profile_file.h"

namespace qelto::platform {
namespace {

const char* const kCatalogue =
    "; Chemical names for the chemical dialog\n"
    "[System Settings]\n"
    "NoOfChemicals=3\n"
    "MaxPumps=10\n"
    "\n"
    "[Chemical Names]\n"
    "Chemical01=Alkali\n"
    "Chemical02 = Bleach  \n"
    "Chemical03=\"  Sour  \"\n"
    "\n"
    "[L01]\n"
    "P01=Alkali\n";

TEST(ProfileTextLookup, MatchesSectionsAndKeysWithoutRegardToCase) {
    const ProfileText text(kCatalogue);
    EXPECT_EQ(text.find("system settings", "noofchemicals"), "3");
    EXPECT_EQ(text.find("CHEMICAL NAMES", "CHEMICAL01"), "Alkali");
    EXPECT_EQ(text.find("l01", "p01"), "Alkali");
}

TEST(ProfileTextLookup, TrimsBlanksAndOnePairOfQuotes) {
    const ProfileText text(kCatalogue);
    EXPECT_EQ(text.find("Chemical Names", "Chemical02"), "Bleach");
    EXPECT_EQ(text.find("Chemical Names", "Chemical03"), "  Sour  ");
    EXPECT_EQ(ProfileText("[S]\nk=\"\"x\"\"\n").find("S", "k"), "\"x\"");
}

TEST(ProfileTextLookup, SectionNameWithSpacesIsNotAPrefixMatch) {
    const ProfileText text(kCatalogue);
    EXPECT_FALSE(text.find("System", "NoOfChemicals"));
    EXPECT_FALSE(text.find("System Settings ", "MaxPump"));
}

TEST(ProfileTextLookup, KeyOfAnotherSectionIsNotFound) {
    const ProfileText text(kCatalogue);
    EXPECT_FALSE(text.find("System Settings", "Chemical01"));
    EXPECT_FALSE(text.find("Missing", "P01"));
}

TEST(ProfileTextLookup, FirstSectionAndFirstKeyWin) {
    const ProfileText text("[A]\nk=1\nk=2\n[a]\nk=3\nj=4\n");
    EXPECT_EQ(text.find("A", "K"), "1");
    EXPECT_FALSE(text.find("A", "j"));
}

TEST(ProfileTextLookup, CommentsAndStrayLinesAreNotKeys) {
    const ProfileText text("[S]\n;k=1\nno equals sign\n=orphan\nk=2\n");
    EXPECT_EQ(text.find("S", "k"), "2");
    EXPECT_EQ(text.keys("S"), std::vector<std::string>{"k"});
}

TEST(ProfileTextLookup, EightBitNamesMatchByteForByte) {
    const ProfileText text("[Chemical Names]\nChemical01=D\xE9tergent\n[\xC3\x89T\xC3\x89]\nk=v\n");
    EXPECT_EQ(text.find("Chemical Names", "Chemical01"), "D\xE9tergent");
    EXPECT_EQ(text.find("\xC3\x89T\xC3\x89", "K"), "v");
    EXPECT_FALSE(text.find("\xC3\xA9t\xC3\xA9", "k"));
}

TEST(ProfileTextLookup, ByteOrderMarkDoesNotHideTheFirstSection) {
    const ProfileText text("\xEF\xBB\xBF[Settings]\r\nLanguage=3\r\n");
    EXPECT_EQ(text.find("Settings", "Language"), "3");
}

TEST(ProfileTextLookup, KeysAreListedInFileOrderOnce) {
    const ProfileText text("[S]\nb=1\na=2\nB=3\n[T]\nc=4\n");
    EXPECT_EQ(text.keys("s"), (std::vector<std::string>{"b", "a"}));
    EXPECT_TRUE(text.keys("missing").empty());
}

TEST(ProfileTextWrite, ChangingOneValueKeepsEveryOtherByte) {
    ProfileText text(kCatalogue);
    text.set("chemical names", "chemical02", "Chlorine");
    std::string expected = kCatalogue;
    expected.replace(expected.find("Bleach  "), 8, "Chlorine");
    EXPECT_EQ(text.text(), expected);
}

TEST(ProfileTextWrite, MissingKeyGoesAfterTheLastKeyOfItsSection) {
    ProfileText text(kCatalogue);
    text.set("Chemical Names", "Chemical04", "Rinse");
    std::string expected = kCatalogue;
    expected.insert(expected.find("\n[L01]"), "Chemical04=Rinse\n");
    EXPECT_EQ(text.text(), expected);
}

TEST(ProfileTextWrite, MissingKeyInEmptySectionGoesRightAfterTheHeader) {
    ProfileText text("[L02]\n\n[L03]\nP01=x\n");
    text.set("L02", "P01", "Alkali");
    EXPECT_EQ(text.text(), "[L02]\nP01=Alkali\n\n[L03]\nP01=x\n");
}

TEST(ProfileTextWrite, MissingSectionIsAddedAtTheEndAfterABlankLine) {
    ProfileText text("[A]\nk=1");
    text.set("L04", "P01", "Sour");
    EXPECT_EQ(text.text(), "[A]\nk=1\n\n[L04]\nP01=Sour\n");
}

TEST(ProfileTextWrite, EmptyTextGetsSectionAndKey) {
    ProfileText text;
    text.set("Settings", "Language", "1");
    EXPECT_EQ(text.text(), "[Settings]\nLanguage=1\n");
}

TEST(ProfileTextWrite, CrlfFileStaysCrlf) {
    ProfileText text("[S]\r\na=1\r\n");
    text.set("S", "a", "2");
    text.set("S", "b", "3");
    text.set("T", "c", "4");
    EXPECT_EQ(text.text(), "[S]\r\na=2\r\nb=3\r\n\r\n[T]\r\nc=4\r\n");
}

TEST(ProfileTextWrite, UnchangedTextComesBackByteForByte) {
    for (const char* original :
         {"", "\n", "no newline", "[S]\r\nk=v\r\n; note\r\n", "[S]\nk=v\r\nj=w", "a\n\n\nb\n"}) {
        EXPECT_EQ(ProfileText(original).text(), original);
    }
}

TEST(ProfileTextWrite, ReplacedValueKeepsKeySpellingAndSpacing) {
    ProfileText text("[S]\nMaxPumps =  8\n");
    text.set("s", "maxpumps", "10");
    EXPECT_EQ(text.text(), "[S]\nMaxPumps =  10\n");
}

TEST(ProfileTextWrite, LineBreakInValueCannotSplitTheLine) {
    ProfileText text("[S]\n");
    text.set("S", "k", "first\r\n[Injected]\nx=1");
    EXPECT_EQ(text.find("S", "k"), "first");
    EXPECT_FALSE(text.find("Injected", "x"));
}

TEST(ProfileTextWrite, RemoveTakesOutEveryCopyOfTheKeyInThatSectionOnly) {
    ProfileText text("[S]\nk=1\nj=2\nK=3\n[T]\nk=4\n");
    text.remove("s", "k");
    EXPECT_EQ(text.text(), "[S]\nj=2\n[T]\nk=4\n");
    text.remove("missing", "k");
    text.remove("S", "missing");
    EXPECT_EQ(text.text(), "[S]\nj=2\n[T]\nk=4\n");
}

}  // namespace
}  // namespace qelto::platform
