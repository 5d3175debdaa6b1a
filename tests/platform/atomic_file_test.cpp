#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

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

// A link stays a link: the file it points to is written, whether it is there yet or not.
TEST(AtomicFile, WritingThroughALinkReplacesItsTarget) {
    std::filesystem::create_directory(testDir() / "real");
    const auto target = testDir() / "real" / "doc.qlf";
    ASSERT_TRUE(writeFileAtomically(target, "old"));
    const auto link = testDir() / "link.qlf";
    std::filesystem::create_symlink("real/doc.qlf", link);
    const auto dangling = testDir() / "new.qlf";
    std::filesystem::create_symlink("real/new.qlf", dangling);

    ASSERT_TRUE(writeFileAtomically(link, "new"));
    ASSERT_TRUE(writeFileAtomically(dangling, "made"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(readFile(testDir() / "real" / "new.qlf"), "made");
}

// A pipe or a folder is neither replaced nor waited on; the message says what it is.
TEST(AtomicFile, OnlyRegularFilesAreReplacedOrRead) {
    const auto pipe = testDir() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const auto folder = testDir() / "folder.qlf";
    std::filesystem::create_directory(folder);

    const auto entries = [] {
        return std::distance(std::filesystem::directory_iterator(testDir()),
                             std::filesystem::directory_iterator());
    };
    const auto before = entries();
    ::alarm(10);  // reading a pipe must not wait for a writer
    for (const auto& [path, kind] : {std::pair{pipe, "named pipe"}, std::pair{folder, "folder"}}) {
        const auto type = std::filesystem::symlink_status(path).type();
        std::string error;
        EXPECT_FALSE(writeFileAtomically(path, "bytes", &error)) << path;
        EXPECT_NE(error.find(kind), std::string::npos) << error;
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), type) << path;
        std::string bytes;
        EXPECT_FALSE(readWholeFile(path, bytes, &error)) << path;
        EXPECT_NE(error.find(kind), std::string::npos) << error;
    }
    ::alarm(0);
    EXPECT_EQ(entries(), before) << "no temporary file is left";
}

}  // namespace
}  // namespace qelto::platform
