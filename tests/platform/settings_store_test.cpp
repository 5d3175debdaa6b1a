#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace qelto::platform {
namespace {

using test::configHome;
using test::readFile;
using test::testDir;
using test::writeFile;

auto fields(const Settings& s) {
    return std::tie(s.maximized, s.frameRect, s.serPort, s.progressBars, s.usbSpeedThrottle,
                    s.language, s.batchName, s.batchSize, s.batchCounter, s.logDirectory);
}

// A missing file in the config folder loads the defaults; every key round-trips.
TEST(SettingsStore, EveryKeyRoundTripsAndAMissingFileLoadsTheDefaults) {
    const SettingsStore store;
    EXPECT_EQ(store.file(), configHome() / "Halvercott" / "Qelto.conf");
    EXPECT_EQ(fields(store.load()), fields(Settings{}));
    Settings s{1, {-8, 20, 1928, 1050},        "/dev/ttyS1", 0,  5,
               4, " Hotel \xE9t\xE9 = \"A\" ", 4000000000u,  17, "/home/eng/Qelto logs"};
    std::string error;
    ASSERT_TRUE(store.save(s, &error)) << error;
    EXPECT_EQ(fields(store.load()), fields(s));
}

// The frame is four little-endian int32 in hex; a damaged one and numbers out of range load
// their defaults.
TEST(SettingsStore, FrameRectIsHexAndBadValuesLoadTheirDefaults) {
    const SettingsStore store(testDir() / "Qelto.conf");
    Settings s;
    s.frameRect = {1, -1, 0x12345678, 256};
    ASSERT_TRUE(store.save(s));
    EXPECT_NE(readFile(store.file()).find("\nFrameRect=01000000ffffffff7856341200010000\n"),
              std::string::npos);
    writeFile(store.file(),
              "[Settings]\nFrameRect=zz000000ffffffff7856341200010000\n"
              "BatchSize=-5\nLanguage=99999999999\nProgressBars=0\n");
    const Settings loaded = store.load();
    EXPECT_EQ(loaded.frameRect, (std::array<std::int32_t, 4>{}));
    EXPECT_EQ(loaded.language, 0);
}

TEST(SettingsStore, SavesKeepOtherSectionsAndKeys) {
    const SettingsStore store(testDir() / "Qelto.conf");
    writeFile(store.file(), "[ControlBars]\r\nBar0=visible\r\n");
    ASSERT_TRUE(store.save(Settings{}));
    EXPECT_TRUE(
        readFile(store.file()).starts_with("[ControlBars]\r\nBar0=visible\r\n\r\n[Settings]\r\n"));
    writeFile(store.file(), "[Settings]\nSerPort=/dev/ttyACM0\nLanguage=1\n");
    ASSERT_TRUE(store.saveLanguage(9));
    EXPECT_EQ(readFile(store.file()), "[Settings]\nSerPort=/dev/ttyACM0\nLanguage=9\n");
}

TEST(SettingsStore, RecentFilesKeepTheirOrderAndAShorterListLeavesNoTail) {
    const SettingsStore store(testDir() / "Qelto.conf");
    writeFile(store.file(), "[Settings]\nLanguage=3\n");
    std::vector<std::string> files;
    for (int i = 0; i < 18; ++i) {
        files.push_back("/docs/unit " + std::to_string(i) + ".qlf");
    }
    files[0] = " /docs/blank edge.qlf";
    ASSERT_TRUE(store.saveRecentFiles(files));
    const std::vector<std::string> loaded = store.loadRecentFiles();
    ASSERT_EQ(loaded.size(), 16u);
    EXPECT_EQ(loaded.front(), " /docs/blank edge.qlf");
    EXPECT_EQ(store.load().language, 3);

    ASSERT_TRUE(store.saveRecentFiles({"/docs/a.qlf"}));
    EXPECT_EQ(store.loadRecentFiles(), std::vector<std::string>{"/docs/a.qlf"});
    EXPECT_EQ(readFile(store.file()).find("File2"), std::string::npos);
}

}  // namespace
}  // namespace qelto::platform
