#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace qelto::platform {
namespace {

using test::configHome;
using test::readFile;
using test::testDir;
using test::writeFile;

Settings everyKeyChanged() {
    Settings s;
    s.maximized = 1;
    s.frameRect = {-8, 20, 1928, 1050};
    s.serPort = "/dev/ttyS1";
    s.progressBars = 0;
    s.usbSpeedThrottle = 5;
    s.language = 4;
    s.batchName = " Hotel \xE9t\xE9 = \"A\" ";
    s.batchSize = 4000000000u;
    s.batchCounter = 17;
    s.logDirectory = "/home/eng/Qelto logs";
    return s;
}

void expectSame(const Settings& a, const Settings& b) {
    EXPECT_EQ(a.maximized, b.maximized);
    EXPECT_EQ(a.frameRect, b.frameRect);
    EXPECT_EQ(a.serPort, b.serPort);
    EXPECT_EQ(a.progressBars, b.progressBars);
    EXPECT_EQ(a.usbSpeedThrottle, b.usbSpeedThrottle);
    EXPECT_EQ(a.language, b.language);
    EXPECT_EQ(a.batchName, b.batchName);
    EXPECT_EQ(a.batchSize, b.batchSize);
    EXPECT_EQ(a.batchCounter, b.batchCounter);
    EXPECT_EQ(a.logDirectory, b.logDirectory);
}

TEST(SettingsStore, LivesInTheUserConfigFolder) {
    EXPECT_EQ(SettingsStore().file(), configHome() / "Halvercott" / "Qelto.conf");
}

TEST(SettingsStore, MissingFileLoadsDefaults) {
    expectSame(SettingsStore().load(), Settings{});
}

TEST(SettingsStore, EveryKeyRoundTrips) {
    const SettingsStore store;
    std::string error;
    ASSERT_TRUE(store.save(everyKeyChanged(), &error)) << error;
    expectSame(store.load(), everyKeyChanged());
}

TEST(SettingsStore, FrameRectIsFourLittleEndianInt32InHex) {
    const SettingsStore store(testDir() / "Qelto.conf");
    Settings s;
    s.frameRect = {1, -1, 0x12345678, 256};
    ASSERT_TRUE(store.save(s));
    EXPECT_NE(readFile(store.file()).find("FrameRect=01000000ffffffff7856341200010000\n"),
              std::string::npos)
        << readFile(store.file());
    EXPECT_EQ(store.load().frameRect, s.frameRect);
}

TEST(SettingsStore, MalformedFrameRectLoadsEmpty) {
    const SettingsStore store(testDir() / "Qelto.conf");
    for (const char* bad : {"0100000002000000", "zz000000ffffffff7856341200010000", ""}) {
        writeFile(store.file(), std::string("[Settings]\nFrameRect=") + bad + "\n");
        EXPECT_EQ(store.load().frameRect, (std::array<std::int32_t, 4>{})) << bad;
    }
}

TEST(SettingsStore, OutOfRangeNumbersLoadTheirDefaults) {
    const SettingsStore store(testDir() / "Qelto.conf");
    writeFile(store.file(),
              "[Settings]\nBatchSize=-5\nBatchCounter=4294967296\nLanguage=99999999999\n"
              "ProgressBars=0\nMaximized=1x\n");
    const Settings s = store.load();
    EXPECT_EQ(s.batchSize, 0u);
    EXPECT_EQ(s.batchCounter, 0u);
    EXPECT_EQ(s.language, 0);
    EXPECT_EQ(s.progressBars, 0);
    EXPECT_EQ(s.maximized, 1);
}

TEST(SettingsStore, SaveKeepsOtherSectionsOfTheFile) {
    const SettingsStore store(testDir() / "Qelto.conf");
    writeFile(store.file(), "[ControlBars]\r\nBar0=visible\r\n");
    ASSERT_TRUE(store.save(Settings{}));
    const std::string text = readFile(store.file());
    EXPECT_TRUE(text.starts_with("[ControlBars]\r\nBar0=visible\r\n\r\n[Settings]\r\n")) << text;
}

TEST(SettingsStore, SaveLanguageWritesThatKeyAlone) {
    const SettingsStore store(testDir() / "Qelto.conf");
    writeFile(store.file(), "[Settings]\nSerPort=/dev/ttyACM0\nLanguage=1\n");
    ASSERT_TRUE(store.saveLanguage(9));
    EXPECT_EQ(readFile(store.file()), "[Settings]\nSerPort=/dev/ttyACM0\nLanguage=9\n");
}

TEST(SettingsStore, FailedSaveNamesTheFile) {
    writeFile(testDir() / "plain", "x");
    const SettingsStore store(testDir() / "plain" / "Qelto.conf");
    std::string error;
    EXPECT_FALSE(store.save(Settings{}, &error));
    EXPECT_NE(error.find(store.file().string()), std::string::npos) << error;
}

}  // namespace
}  // namespace qelto::platform
