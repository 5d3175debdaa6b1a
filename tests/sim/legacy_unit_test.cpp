// The simulated older units byte by byte, with golden command frames (CRC-16/ARC worked out by
// hand). What the PC's legacy operations get from them is checked end to end in
// tests/integration; these are the frames, the configuration stream's layout, and the unit's
// own time-out and faults.
#include "sim/legacy_unit.h"

#include <gtest/gtest.h>

#include "sim/legacy_crc.h"

namespace qelto::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kSignOn{0xC8, 0xE8, 0x01, 0xC0, 0x8F};
const Bytes kReadConfig{0xC8, 0xD3, 0x00, 0x30, 0x5D};

LegacyMemory unitOf(std::optional<std::array<char, 3>> version,
                    LegacyKind kind = LegacyKind::Laundry) {
    LegacyMemory memory;
    memory.version = version;
    memory.kind = kind;
    return memory;
}

TEST(LegacyUnit, EachCommandFrameIsAcknowledgedOnlyWhereTheUnitKnowsIt) {
    EXPECT_EQ(legacyCrc({'1', '2', '3', '4', '5', '6', '7', '8', '9'}), 0xBB3D);
    const std::array<char, 3> v110{'1', '1', '0'};
    const std::array<char, 3> v109{'1', '0', '9'};
    const Bytes writeConfig{0xC8, 0xDD, 0x00, 0x50, 0x59};
    const Bytes sendNames{0xC8, 0xCE, 0x00, 0x60, 0x54};
    const Bytes getNames{0xC8, 0xCC, 0x00, 0x00, 0x55};
    const Bytes spareByte{0xC8, 0xF8, 0x00, 0xC0, 0x43};
    const Bytes reportSettings{0xC8, 0x7A, 0x00, 0x60, 0x23};
    const struct {
        const char* name;
        LegacyMemory memory;
        Bytes frame;
        Bytes reply;
    } rows[] = {
        {"sign-on", unitOf(v110), kSignOn, {0xE9}},
        {"a wrong CRC", unitOf(v110), {0xC8, 0xE8, 0x01, 0x8F, 0xC0}, {}},
        {"read configuration", unitOf(std::nullopt), kReadConfig, {0xD4}},
        {"write configuration", unitOf(std::nullopt), writeConfig, {0xDE}},
        {"send names", unitOf(v110), sendNames, {0xCF}},
        {"get names", unitOf(v110), getNames, {0xCD}},
        {"spare byte", unitOf(v110), spareByte, {0xF9}},
        {"send names to 1.09", unitOf(v109), sendNames, {}},
        {"get names from 1.09", unitOf(v109), getNames, {}},
        {"spare byte of 1.09", unitOf(v109), spareByte, {}},
        {"settings report", unitOf(std::nullopt, LegacyKind::Dishwash), reportSettings, {0x7B}},
        {"no configuration stream on a dishwash unit",
         unitOf(v110, LegacyKind::Dishwash),
         kReadConfig,
         {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LegacyUnit unit(row.memory);
        EXPECT_EQ(unit.receive(row.frame), row.reply);
    }
    LegacyUnit unit(unitOf(v110));
    unit.receive(kSignOn);
    EXPECT_EQ(unit.receive(Bytes{0xE8}), (Bytes{0x03, '1', '1', '0'}));
}

// The stream's numbers are high byte first: reset delay at 47, flush valve time at 49, PIN 1 at
// 59; the customer's first line opens it and the unit type sits at 34.
TEST(LegacyUnit, TheConfigurationStreamTravelsOnlyForTheRightPassword) {
    LegacyMemory memory = unitOf(std::nullopt);
    memory.password = 0x1234;
    memory.config.resetDelay = 125;
    memory.config.customerLines[0] = "Hotel";
    LegacyUnit unit(memory);
    unit.receive(kReadConfig);
    EXPECT_EQ(unit.receive(Bytes{0xD3, 0x12, 0x35}), Bytes{0x00});
    unit.receive(kReadConfig);
    const Bytes answer = unit.receive(Bytes{0xD3, 0x12, 0x34});
    ASSERT_EQ(answer.size(), 1 + kLegacyConfigStreamSize);
    EXPECT_NE(answer[0], 0);
    EXPECT_EQ(answer[1], 'H');
    EXPECT_EQ(answer[1 + 34], 3);
    EXPECT_EQ((Bytes{answer[1 + 47], answer[1 + 48]}), (Bytes{0x00, 0x7D}));
    EXPECT_EQ((Bytes{answer[1 + 59], answer[1 + 60]}), (Bytes{0x18, 0x23}));  // 6179

    LegacyLaundryConfig config;
    config.flushValveTime = 90;
    const Bytes stream = encodeConfigStream(config);
    EXPECT_EQ((Bytes{stream[49], stream[50]}), (Bytes{0x00, 0x5A}));
}

TEST(LegacyUnit, AHalfFinishedExchangeIsAbandonedAfterThePcHasGivenUp) {
    auto now = std::chrono::steady_clock::time_point{};
    LegacyUnit unit(unitOf(std::nullopt), FaultPlan{}, nullptr, [&] { return now; });
    EXPECT_EQ(unit.receive(kReadConfig), Bytes{0xD4});
    EXPECT_TRUE(unit.receive(Bytes{0xD3}).empty());
    now += std::chrono::seconds(4);
    // Without the time-out these bytes would be taken as the repeat and the password.
    EXPECT_EQ(unit.receive(kSignOn), Bytes{0xE9});
}

TEST(LegacyUnit, FaultsApplyToCommandFrames) {
    LegacyUnit unit(unitOf(std::nullopt), FaultPlan({.dropEvery = 2, .nakEvery = 3}));
    EXPECT_EQ(unit.receive(kSignOn), Bytes{0xE9});
    EXPECT_TRUE(unit.receive(kSignOn).empty());
    EXPECT_EQ(unit.receive(kSignOn), Bytes{0xEA});  // a wrong acknowledge
}

}  // namespace
}  // namespace qelto::sim
