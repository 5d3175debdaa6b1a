#include "platform/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/test_env.h"

namespace qelto::platform {
namespace {

using test::readFile;
using test::testDir;
using test::writeFile;

ProfileFile fileWith(std::string_view text) {
    const auto path = testDir() / "qelto.ini";
    writeFile(path, text);
    return ProfileFile(path);
}

TEST(ProfileFileRead, MissingFileReadsAsFallback) {
    const ProfileFile file(testDir() / "absent.ini");
    EXPECT_EQ(file.readString("System Settings", "NoOfChemicals", "0"), "0");
    EXPECT_EQ(file.readInt("System Settings", "NoOfChemicals", 7), 7);
    EXPECT_EQ(file.load().text(), "");
}

TEST(ProfileFileRead, MissingKeyReadsAsFallback) {
    const auto file = fileWith("[L01]\nP01=Alkali\n");
    EXPECT_EQ(file.readString("L01", "P02"), "");
    EXPECT_EQ(file.readString("L02", "P01", "none"), "none");
}

TEST(ProfileFileRead, IntegerTakesTheLeadingDecimalNumber) {
    const auto file = fileWith(
        "[S]\ntrailing=12abc\nword=abc\nnegative=-5\nplus=+7\nblanks=  42  \nhex=0x1F\n"
        "quoted=\"9\"\nempty=\nhuge=99999999999999999999999\n");
    EXPECT_EQ(file.readInt("S", "trailing", -1), 12);
    EXPECT_EQ(file.readInt("S", "word", -1), 0);
    EXPECT_EQ(file.readInt("S", "negative", -1), -5);
    EXPECT_EQ(file.readInt("S", "plus", -1), 7);
    EXPECT_EQ(file.readInt("S", "blanks", -1), 42);
    EXPECT_EQ(file.readInt("S", "hex", -1), 0);
    EXPECT_EQ(file.readInt("S", "quoted", -1), 9);
    EXPECT_EQ(file.readInt("S", "empty", -1), -1);
    EXPECT_EQ(file.readInt("S", "missing", -1), -1);
    EXPECT_EQ(file.readInt("S", "huge", -1), LONG_MAX);
}

TEST(ProfileFileRead, LongValueIsCutToTheReadBuffer) {
    const std::string name(1000, 'x');
    const auto file = fileWith("[Chemical Names]\nChemical01=" + name + "\n");
    EXPECT_EQ(file.readString("Chemical Names", "Chemical01").size(), 799u);
    EXPECT_EQ(file.readString("Chemical Names", "Chemical01", {}, 10), std::string(9, 'x'));
    EXPECT_EQ(file.readString("Chemical Names", "Missing", "fallback", 5), "fall");
    EXPECT_EQ(file.readString("Chemical Names", "Chemical01", {}, 0), "");
}

TEST(ProfileFileWrite, WriteChangesOneValueAndKeepsTheRestOfTheFile) {
    const std::string original =
        "; edited by hand\r\n[System Settings]\r\nNoOfChemicals=2\r\nMaxPumps=10\r\n\r\n"
        "[Chemical Names]\r\nChemical01=D\xE9tergent\r\nChemical02=Sour\r\n";
    const auto file = fileWith(original);
    ASSERT_TRUE(file.writeString("system settings", "noofchemicals", "3"));
    std::string expected = original;
    expected.replace(expected.find("=2"), 2, "=3");
    EXPECT_EQ(readFile(file.path()), expected);
}

TEST(ProfileFileWrite, WriteCreatesTheFileAndItsFolder) {
    const ProfileFile file(testDir() / "a" / "b" / "qelto.ini");
    std::string error;
    ASSERT_TRUE(file.writeString("L04", "P01", "Alkali", &error)) << error;
    EXPECT_EQ(readFile(file.path()), "[L04]\nP01=Alkali\n");
}

TEST(ProfileFileWrite, WriteLeavesNoTemporaryFileBehind) {
    const auto file = fileWith("[S]\nk=1\n");
    ASSERT_TRUE(file.writeString("S", "k", "2"));
    ASSERT_TRUE(file.store(ProfileText("[S]\nk=3\n")));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(testDir())) {
        ++entries;
    }
    EXPECT_EQ(entries, 2);  // qelto.ini and the test's .config folder
    EXPECT_EQ(file.readString("S", "k"), "3");
}

TEST(ProfileFileWrite, WriteIntoReadOnlyFolderFailsNamingFileAndReason) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root ignores folder permissions";
    }
    const auto folder = testDir() / "locked";
    std::filesystem::create_directory(folder);
    const ProfileFile file(folder / "qelto.ini");
    ::chmod(folder.c_str(), 0555);
    std::string error;
    const bool written = file.writeString("S", "k", "v", &error);
    ::chmod(folder.c_str(), 0755);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, "cannot write " + file.path().string() + ": permission denied");
}

TEST(ProfileFileWrite, WriteBelowAPlainFileFailsNamingTheFile) {
    writeFile(testDir() / "plain", "not a folder");
    const ProfileFile file(testDir() / "plain" / "qelto.ini");
    std::string error;
    EXPECT_FALSE(file.writeString("S", "k", "v", &error));
    EXPECT_TRUE(error.starts_with("cannot write " + file.path().string() + ": ")) << error;
    EXPECT_EQ(readFile(testDir() / "plain"), "not a folder");
}

TEST(ProfileFileWrite, UnreadableExistingFileIsNotReplaced) {
    const auto folder = testDir() / "qelto.ini";
    std::filesystem::create_directory(folder);
    const ProfileFile file(folder);
    std::string error;
    EXPECT_FALSE(file.writeString("S", "k", "v", &error));
    EXPECT_NE(error.find(folder.string()), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

}  // namespace
}  // namespace qelto::platform
