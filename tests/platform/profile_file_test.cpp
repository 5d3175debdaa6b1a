#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "support/test_env.h"

namespace qelto::platform {
namespace {

using test::readFile;
using test::testDir;
using test::writeFile;

ProfileFile fileWith(std::string_view text) {
    writeFile(testDir() / "qelto.ini", text);
    return ProfileFile(testDir() / "qelto.ini");
}

TEST(ProfileFileRead, MissingFileOrKeyReadsAsFallback) {
    const ProfileFile absent(testDir() / "absent.ini");
    EXPECT_EQ(absent.readString("System Settings", "NoOfChemicals", "0"), "0");
    EXPECT_EQ(absent.readInt("System Settings", "NoOfChemicals", 7), 7);
    EXPECT_EQ(fileWith("[L01]\nP01=x\n").readString("L01", "P02", "none"), "none");
}

// An integer is the leading decimal number, clamped; no number at all is 0, no value the fallback.
TEST(ProfileFileRead, IntegerTakesTheLeadingDecimalNumber) {
    const auto file = fileWith(
        "[S]\ntrailing=12abc\nword=abc\nnegative=-5\nquoted=\"9\"\nempty=\n"
        "huge=99999999999999999999999\n");
    const std::pair<const char*, std::int64_t> rows[] = {
        {"trailing", 12}, {"word", 0},   {"negative", -5},
        {"quoted", 9},    {"empty", -1}, {"huge", std::numeric_limits<std::int64_t>::max()}};
    for (const auto& [key, value] : rows) {
        EXPECT_EQ(file.readInt("S", key, -1), value) << key;
    }
}

TEST(ProfileFileWrite, WriteCreatesTheFolderAndLeavesNoTemporaryFile) {
    const ProfileFile file(testDir() / "a" / "b" / "qelto.ini");
    std::string error;
    ASSERT_TRUE(file.writeString("L04", "P01", "Alkali", &error)) << error;
    ASSERT_TRUE(file.writeString("L04", "P02", "Sour", &error)) << error;
    EXPECT_EQ(readFile(file.path()), "[L04]\nP01=Alkali\nP02=Sour\n");
    const auto entries = std::distance(std::filesystem::directory_iterator(testDir() / "a" / "b"),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1);
}

// A write that cannot be done (here below a plain file) fails naming the file and the reason.
TEST(ProfileFileWrite, AWriteThatCannotBeDoneFailsNamingFileAndReason) {
    writeFile(testDir() / "plain", "not a folder");
    const auto path = testDir() / "plain" / "qelto.ini";
    std::string error;
    EXPECT_FALSE(ProfileFile(path).writeString("S", "k", "v", &error));
    EXPECT_NE(error.find(path.string() + ": "), std::string::npos) << error;
}

}  // namespace
}  // namespace qelto::platform
