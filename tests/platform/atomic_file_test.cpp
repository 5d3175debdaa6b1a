#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_env.h"

namespace qelto::platform {
namespace {

using test::readFile;
using test::testDir;

mode_t modeOf(const std::filesystem::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0);
    return st.st_mode & 07777;
}

TEST(AtomicFile, AReplacedFileKeepsItsPermissions) {
    const auto file = testDir() / "doc.qlf";
    ASSERT_TRUE(writeFileAtomically(file, "one"));
    const mode_t umaskNow = ::umask(022);
    ::umask(umaskNow);
    EXPECT_EQ(modeOf(file), 0666 & ~umaskNow);

    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(writeFileAtomically(file, "two"));
    EXPECT_EQ(readFile(file), "two");
    EXPECT_EQ(modeOf(file), 0640u);
}

TEST(AtomicFile, WritingThroughALinkReplacesItsTarget) {
    std::filesystem::create_directory(testDir() / "real");
    const auto target = testDir() / "real" / "doc.qlf";
    ASSERT_TRUE(writeFileAtomically(target, "old"));
    const auto link = testDir() / "link.qlf";
    std::filesystem::create_symlink("real/doc.qlf", link);

    ASSERT_TRUE(writeFileAtomically(link, "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(target), "new");
}

TEST(AtomicFile, ReadingAMissingFileNamesItAndTheReason) {
    std::string bytes;
    std::string error;
    EXPECT_FALSE(readWholeFile(testDir() / "absent.qlf", bytes, &error));
    EXPECT_NE(error.find("absent.qlf"), std::string::npos);
    EXPECT_NE(error.find("no such file"), std::string::npos);
    EXPECT_FALSE(readWholeFile(testDir(), bytes, &error));
    EXPECT_NE(error.find("folder"), std::string::npos) << error;
}

}  // namespace
}  // namespace qelto::platform
