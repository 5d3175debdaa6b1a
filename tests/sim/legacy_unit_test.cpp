// The legacy units byte by byte, with golden command frames (CRC-16/ARC worked out by hand).
#include "sim/legacy_unit.h"

#include <gtest/gtest.h>

#include "sim/legacy_crc.h"

namespace qelto::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kSignOn{0xC8, 0xE8, 0x01, 0xC0, 0x8F};
const Bytes kReadConfig{0xC8, 0xD3, 0x00, 0x30, 0x5D};
const Bytes kWriteConfig{0xC8, 0xDD, 0x00, 0x50, 0x59};
const Bytes kSendNames{0xC8, 0xCE, 0x00, 0x60, 0x54};
const Bytes kGetNames{0xC8, 0xCC, 0x00, 0x00, 0x55};
const Bytes kReportSettings{0xC8, 0x7A, 0x00, 0x60, 0x23};

LegacyMemory laundryWithVersion(std::optional<std::array<char, 3>> version) {
    LegacyMemory memory;
    memory.version = version;
    return memory;
}

Bytes send(LegacyUnit& unit, const Bytes& bytes) {
    return unit.receive(bytes);
}

TEST(LegacyCrc, MatchesTheCatalogueCheckValue) {
    EXPECT_EQ(legacyCrc({'1', '2', '3', '4', '5', '6', '7', '8', '9'}), 0xBB3D);
}

TEST(LegacyUnit, SignOnReportsTypeAndVersionAfterTheRepeatedCommand) {
    LegacyUnit unit(laundryWithVersion(std::array<char, 3>{'1', '1', '0'}));
    EXPECT_EQ(send(unit, kSignOn), Bytes{0xE9});
    EXPECT_EQ(send(unit, {0xE8}), (Bytes{0x03, '1', '1', '0'}));
}

TEST(LegacyUnit, TheFirstUnitsAcknowledgeSignOnAndThenSayNothing) {
    LegacyUnit unit(laundryWithVersion(std::nullopt));
    EXPECT_EQ(send(unit, kSignOn), Bytes{0xE9});
    EXPECT_TRUE(send(unit, {0xE8}).empty());
}

TEST(LegacyUnit, AFrameWithAWrongCrcIsIgnored) {
    LegacyUnit unit(laundryWithVersion(std::nullopt));
    EXPECT_TRUE(send(unit, {0xC8, 0xE8, 0x01, 0x8F, 0xC0}).empty());
    EXPECT_EQ(send(unit, kSignOn), Bytes{0xE9});
}

TEST(LegacyUnit, ReadConfigurationSendsTheStreamOnlyForTheRightPassword) {
    LegacyMemory memory = laundryWithVersion(std::nullopt);
    memory.password = 0x1234;
    memory.config.resetDelay = 125;
    memory.config.customerLines[0] = "Hotel";
    LegacyUnit unit(memory);
    EXPECT_EQ(send(unit, kReadConfig), Bytes{0xD4});
    EXPECT_EQ(send(unit, {0xD3, 0x12, 0x35}), Bytes{0x00});

    EXPECT_EQ(send(unit, kReadConfig), Bytes{0xD4});
    const Bytes answer = send(unit, {0xD3, 0x12, 0x34});
    ASSERT_EQ(answer.size(), 1 + kLegacyConfigStreamSize);
    EXPECT_NE(answer[0], 0);
    EXPECT_EQ(answer[1], 'H');
    EXPECT_EQ(answer[1 + 34], 3);  // unit type
    // Reset delay 125 s at stream offset 47, high byte first.
    EXPECT_EQ(answer[1 + 47], 0x00);
    EXPECT_EQ(answer[1 + 48], 0x7D);
    // PIN 1 6179 = 0x1823 at offset 59.
    EXPECT_EQ(answer[1 + 59], 0x18);
    EXPECT_EQ(answer[1 + 60], 0x23);
}

TEST(LegacyUnit, WriteConfigurationStoresTheStream) {
    LegacyUnit unit(laundryWithVersion(std::nullopt));
    EXPECT_EQ(send(unit, kWriteConfig), Bytes{0xDE});
    EXPECT_EQ(send(unit, {0xDD, 0x04, 0xD2}), Bytes{0x01});
    LegacyLaundryConfig config;
    config.flushValveTime = 90;  // 1:30 goes out as 00 5A
    config.pins = {1, 2, 3};
    config.runTime = {1, 15};
    Bytes stream = encodeConfigStream(config);
    EXPECT_EQ(stream[49], 0x00);
    EXPECT_EQ(stream[50], 0x5A);
    EXPECT_TRUE(send(unit, stream).empty());
    EXPECT_EQ(unit.memory().config.flushValveTime, 90);
    EXPECT_EQ(unit.memory().config.pins, (std::array<std::uint16_t, 3>{1, 2, 3}));
    EXPECT_EQ(unit.memory().config.runTime, (MinSecPair{1, 15}));
}

TEST(LegacyUnit, NamesTravelAsPacketsFromVersion110) {
    LegacyUnit unit(laundryWithVersion(std::array<char, 3>{'1', '1', '0'}));
    EXPECT_EQ(send(unit, kSendNames), Bytes{0xCF});
    EXPECT_TRUE(send(unit, {0xCE}).empty());
    Bytes packet{0x40, 0x00, 50, 128};
    packet.resize(4 + 128, 0);
    packet[4] = 'W';
    packet[5] = 'o';
    EXPECT_EQ(send(unit, packet), Bytes{0xAA});
    EXPECT_TRUE(send(unit, {0x80, 0x00, 0x00, 0x00}).empty());
    EXPECT_EQ(unit.memory().programNames[2], "Wo");

    EXPECT_EQ(send(unit, kGetNames), Bytes{0xCD});
    const Bytes names = send(unit, {0xCC});
    ASSERT_EQ(names.size(), 20 * (4 + 128) + 4u);
    const std::size_t third = 2 * (4 + 128);
    EXPECT_EQ((Bytes{names.begin() + third, names.begin() + third + 6}),
              (Bytes{0x40, 0x00, 50, 128, 'W', 'o'}));
    EXPECT_EQ((Bytes{names.end() - 4, names.end()}), (Bytes{0x80, 0, 0, 0}));
}

TEST(LegacyUnit, Version109DoesNotKnowNamesCommentsOrTheSpareByte) {
    LegacyUnit unit(laundryWithVersion(std::array<char, 3>{'1', '0', '9'}));
    EXPECT_TRUE(send(unit, kSendNames).empty());
    EXPECT_TRUE(send(unit, kGetNames).empty());
    EXPECT_TRUE(send(unit, {0xC8, 0xF8, 0x00, 0xC0, 0x43}).empty());
}

TEST(LegacyUnit, SpareByteIsStoredAndEchoed) {
    LegacyUnit unit(laundryWithVersion(std::array<char, 3>{'1', '2', '0'}));
    EXPECT_EQ(send(unit, {0xC8, 0xF8, 0x00, 0xC0, 0x43}), Bytes{0xF9});
    EXPECT_TRUE(send(unit, {0xF8}).empty());
    EXPECT_EQ(send(unit, {0x01}), Bytes{0x01});
    EXPECT_EQ(unit.memory().spareByte, 1);
}

TEST(LegacyUnit, DishwashSettingsReportCarriesGeneralDataThenTheStream) {
    LegacyMemory memory = laundryWithVersion(std::nullopt);
    memory.kind = LegacyKind::Dishwash;
    memory.dishwash.pins = {0x0102, 0x0304, 0x0506};
    memory.dishwash.modeByte = 3;
    memory.dishwash.propTo = 42;
    LegacyUnit unit(memory);
    EXPECT_TRUE(send(unit, kReadConfig).empty());  // no configuration stream on a dishwash unit
    EXPECT_EQ(send(unit, kReportSettings), Bytes{0x7B});
    const Bytes report = send(unit, {0x7A});
    // 40 general bytes, then 1+1+1+2+1+2 IC, 1+2+1+2+1 probe, 1 pumps, 3 x 11, 1, 4 x 5, 1+1,
    // clock 2, spare 8; the second IC block only from version 1.10.
    ASSERT_EQ(report.size(), 40u + 8 + 7 + 1 + 33 + 1 + 20 + 2 + 2 + 8);
    EXPECT_EQ((Bytes{report.begin() + 34, report.begin() + 40}), (Bytes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(report[41], 3);
    EXPECT_EQ(report[40 + 8 + 7 + 1 + 33 + 1 + 20 + 1], 42);
}

TEST(LegacyUnit, AHalfFinishedExchangeIsAbandonedAfterThePcHasGivenUp) {
    auto now = std::chrono::steady_clock::time_point{};
    LegacyUnit unit(laundryWithVersion(std::nullopt), FaultPlan{}, nullptr, [&] { return now; });
    EXPECT_EQ(send(unit, kReadConfig), Bytes{0xD4});
    EXPECT_TRUE(send(unit, {0xD3}).empty());
    now += std::chrono::seconds(4);
    // Without the time-out these bytes would be taken as the repeat and the password.
    EXPECT_EQ(send(unit, kSignOn), Bytes{0xE9});
}

TEST(LegacyUnit, FaultsApplyToCommandFrames) {
    LegacyUnit unit(laundryWithVersion(std::nullopt), FaultPlan({.dropEvery = 2, .nakEvery = 3}));
    EXPECT_EQ(send(unit, kSignOn), Bytes{0xE9});
    EXPECT_TRUE(send(unit, kSignOn).empty());
    EXPECT_EQ(send(unit, kSignOn), Bytes{0xEA});  // a wrong acknowledge
}

}  // namespace
}  // namespace qelto::sim
