#include <gtest/gtest.h>

#include "platform/profile_file.h"

namespace qelto::platform {
namespace {

const char* const kCatalogue =
    "; Chemical names for the chemical dialog\n"
    "[System Settings]\n"
    "NoOfChemicals=3\n"
    "\n"
    "[Chemical Names]\n"
    "Chemical01=Alkali\n"
    "Chemical02 = Bleach  \n"
    "Chemical03=\"  Sour  \"\n"
    "\n"
    "[L01]\n"
    "P01=D\xE9tergent\n";

TEST(ProfileTextLookup, MatchesWholeNamesWithoutRegardToCase) {
    const ProfileText text(kCatalogue);
    EXPECT_EQ(text.find("system settings", "NOOFCHEMICALS"), "3");
    EXPECT_EQ(text.find("l01", "p01"), "D\xE9tergent");
    EXPECT_FALSE(text.find("System", "NoOfChemicals"));
    EXPECT_FALSE(text.find("System Settings", "Chemical01"));
}

TEST(ProfileTextLookup, TrimsBlanksAndOnePairOfQuotes) {
    const ProfileText text(kCatalogue);
    EXPECT_EQ(text.find("Chemical Names", "Chemical02"), "Bleach");
    EXPECT_EQ(text.find("Chemical Names", "Chemical03"), "  Sour  ");
}

TEST(ProfileTextLookup, FirstSectionAndFirstKeyWin) {
    const ProfileText text("[A]\nk=1\nk=2\n[a]\nk=3\nj=4\n");
    EXPECT_EQ(text.find("A", "K"), "1");
    EXPECT_FALSE(text.find("A", "j"));
}

TEST(ProfileTextLookup, CommentsAndStrayLinesAreNotKeys) {
    const ProfileText text("[S]\n;k=1\nno equals sign\n=orphan\nb=2\nk=3\nB=4\n");
    EXPECT_EQ(text.find("S", "k"), "3");
    EXPECT_EQ(text.keys("s"), (std::vector<std::string>{"b", "k"}));
}

TEST(ProfileTextLookup, EightBitNamesMatchByteForByte) {
    const ProfileText text("[\xC3\x89T\xC3\x89]\nk=v\n");
    EXPECT_EQ(text.find("\xC3\x89T\xC3\x89", "K"), "v");
    EXPECT_FALSE(text.find("\xC3\xA9t\xC3\xA9", "k"));
}

TEST(ProfileTextLookup, ByteOrderMarkDoesNotHideTheFirstSection) {
    EXPECT_EQ(ProfileText("\xEF\xBB\xBF[Settings]\r\nLanguage=3\r\n").find("Settings", "Language"),
              "3");
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

TEST(ProfileTextWrite, MissingSectionIsAddedAtTheEndAfterABlankLine) {
    ProfileText text("[A]\nk=1");
    text.set("L04", "P01", "Sour");
    EXPECT_EQ(text.text(), "[A]\nk=1\n\n[L04]\nP01=Sour\n");
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
         {"", "\n", "no newline", "[S]\r\nk=v\r\n; note\r\n", "[S]\nk=v\r\nj"}) {
        EXPECT_EQ(ProfileText(original).text(), original);
    }
}

TEST(ProfileTextWrite, LineBreakInValueCannotSplitTheLine) {
    ProfileText text;
    text.set("S", "k", "first\r\n[Injected]\nx=1");
    EXPECT_EQ(text.text(), "[S]\nk=first\n");
}

TEST(ProfileTextWrite, RemoveTakesOutEveryCopyOfTheKeyInThatSectionOnly) {
    ProfileText text("[S]\nk=1\nj=2\nK=3\n[T]\nk=4\n");
    text.remove("s", "k");
    text.remove("missing", "j");
    EXPECT_EQ(text.text(), "[S]\nj=2\n[T]\nk=4\n");
}

}  // namespace
}  // namespace qelto::platform
