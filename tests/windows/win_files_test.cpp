// The Win32 file layer: what a save may replace, what it leaves when it fails, names beyond the
// ANSI code page, the shared batch log and the user's folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "platform/c_file.h"
#include "platform/locked_file.h"
#include "platform/user_paths.h"
#include "support/test_env.h"

namespace qelto::platform {
namespace {

using test::readFile;
using test::testDir;
using test::writeFile;

std::size_t filesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

TEST(WinAtomicFile, ReplacesARegularFileAndLeavesNothingBeside) {
    const auto path = testDir() / "unit.qlf";
    writeFile(path, "old");
    const std::size_t before = filesIn(testDir());
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path, "new contents", &error)) << error;
    EXPECT_EQ(readFile(path), "new contents");
    EXPECT_EQ(filesIn(testDir()), before);
}

TEST(WinAtomicFile, RefusesWhatIsNotARegularFile) {
    std::filesystem::create_directory(testDir() / "folder");
    writeFile(testDir() / "locked.qlf", "keep");
    ::SetFileAttributesW((testDir() / "locked.qlf").c_str(), FILE_ATTRIBUTE_READONLY);
    const struct {
        std::filesystem::path path;
        const char* reason;
    } cases[] = {
        {testDir() / "folder", "it is a folder"},
        {"NUL", "device"},
        {testDir() / "locked.qlf", "read-only"},
        {testDir() / "missing" / "unit.qlf", "does not exist"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(writeFileAtomically(c.path, "x", &error)) << c.path;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
    ::SetFileAttributesW((testDir() / "locked.qlf").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readFile(testDir() / "locked.qlf"), "keep");
}

TEST(WinAtomicFile, AFailedReplaceKeepsTheOldFileWhole) {
    const auto path = testDir() / "open.qlf";
    writeFile(path, "the old document");
    const std::size_t before = filesIn(testDir());
    // Another program holds the file without sharing it: the rename cannot replace it.
    const HANDLE holder = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::string error;
    EXPECT_FALSE(writeFileAtomically(path, "new", &error));
    EXPECT_NE(error.find("open.qlf"), std::string::npos) << error;
    ::CloseHandle(holder);
    EXPECT_EQ(readFile(path), "the old document");
    EXPECT_EQ(filesIn(testDir()), before) << "the temporary file was left behind";
}

TEST(WinAtomicFile, NamesBeyondTheAnsiCodePageRoundTrip) {
    const std::filesystem::path path = testDir() / std::filesystem::path(u8"Prüfung-Łódź.qlf");
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path, "bytes", &error)) << error;
    std::string back;
    ASSERT_TRUE(readWholeFile(path, back, &error)) << error;
    EXPECT_EQ(back, "bytes");
    std::FILE* file = openCFile(path, "rb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_FALSE(readWholeFile("NUL", back, &error));
    EXPECT_NE(error.find("device"), std::string::npos) << error;
}

TEST(WinLockedFile, AppendsUnderTheLockAndReadsBack) {
    const auto path = testDir() / "batch.csv";
    std::string reason;
    {
        auto file = LockedAppendFile::open(path, &reason);
        ASSERT_TRUE(file) << reason;
        ASSERT_TRUE(file->append("first\r\n", &reason)) << reason;
    }
    auto file = LockedAppendFile::open(path, &reason);
    ASSERT_TRUE(file) << reason;
    ASSERT_TRUE(file->append("second\r\n", &reason)) << reason;
    std::string text;
    ASSERT_TRUE(file->readAll(text, &reason)) << reason;
    EXPECT_EQ(text, "first\r\nsecond\r\n");
    std::uint64_t size = 0;
    ASSERT_TRUE(file->size(size, &reason));
    EXPECT_EQ(size, text.size());
    EXPECT_TRUE(makeFolder(testDir() / "2026", &reason));
    EXPECT_TRUE(makeFolder(testDir() / "2026", &reason)) << "an existing folder is no error";
}

TEST(WinUserPaths, SettingsLiveUnderAppData) {
    EXPECT_EQ(configDir(), test::configHome() / "Halvercott");
    EXPECT_EQ(settingsFile().filename(), "Qelto.conf");
    EXPECT_EQ(dataHome(), testDir() / "Local" / "Halvercott" / "Qelto");
    std::filesystem::path made;
    std::FILE* file = createUniqueFile(testDir(), "~tmp", made);
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_TRUE(std::filesystem::is_regular_file(made));
}

}  // namespace
}  // namespace qelto::platform
