// The dishwash settings report against a stream worked out by hand from its layout: how it lands
// in the dishwash record and how a unit is verified against one. The read over the link is
// tests/integration's, against the simulated unit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "legacy/dishwash_settings.h"
#include "legacy/dishwash_stream.h"
#include "unit_script.h"

namespace qelto::legacy::test {
namespace {

using ::testing::ElementsAre;

// Customer lines "CAFE" and "", PINs 6179, 7159, 7318.
Bytes generalData() {
    Bytes g{'C', 'A', 'F', 'E'};
    g.resize(34, 0);
    return g + Bytes{0x18, 0x23, 0x1B, 0xF7, 0x1C, 0x96};
}

// Type byte 2, mode byte 3, IC signalled-auto (2) 1:00 x4 delay 5:00; then, for 1.10, the second
// IC block; probe 1, 3:00, 170, 5:00, alarm on; 3 pumps; outputs checked; output 1 at 50 %,
// time 12 34, duration 00 15; prop 7 and 8; clock 09:41; spare bytes.
Bytes settingsStream(bool secondIc) {
    Bytes s{0x02, 0x03, 0x02, 0x01, 0x00, 0x04, 0x05, 0x00};
    if (secondIc) {
        s = s + Bytes{0x09, 0x00, 0x09, 0x09, 0x00, 0x09};
    }
    s = s + Bytes{0x01, 0x03, 0x00, 0xAA, 0x05, 0x00, 0x00, 0x03};
    s = s + Bytes{100, 0x00, 0x04, 0x00, 0x04, 1, 1, 2, 3, 4, 5};
    s = s + Bytes{75, 0x00, 0x02, 0x00, 0x01, 2, 0, 0, 0, 0, 0};
    s = s + Bytes{25, 0x00, 0x01, 0x01, 0x00, 3, 0, 0, 0, 0, 0};
    s = s + Bytes{0x01, 50, 12, 34, 0, 15};
    for (int i = 0; i < 3; ++i) {
        s = s + Bytes{100, 0, 0, 0, 0};
    }
    return s + Bytes{7, 8, 9, 41} + Bytes(8, 0xEE);
}

ByteSource bufferSource(const Bytes& bytes, std::size_t& at) {
    return [&bytes, &at](std::uint8_t& b) {
        if (at >= bytes.size()) {
            return false;
        }
        b = bytes[at++];
        return true;
    };
}

DishwashStream parsed(const Bytes& bytes, bool secondIc) {
    std::size_t at = 0;
    DishwashStream stream;
    EXPECT_TRUE(parseDishwashStream(bufferSource(bytes, at), secondIc, stream));
    EXPECT_EQ(at, bytes.size()) << "every byte of the stream is read, none past it";
    return stream;
}

TEST(DishwashStream, GeneralDataGivesTheLinesAndThePins) {
    const Bytes bytes = generalData();
    std::size_t at = 0;
    DishwashGeneral general;
    ASSERT_TRUE(parseDishwashGeneral(bufferSource(bytes, at), general));
    EXPECT_EQ(at, kDishwashGeneralSize);
    EXPECT_THAT(general.customerLines, ElementsAre("CAFE", ""));
    EXPECT_THAT(general.pins, ElementsAre(6179, 7159, 7318));
}

TEST(DishwashStream, StoresEverySettingInTheRecordOneBased) {
    model::CDishWashViewData record;
    storeDishwashStream(parsed(settingsStream(false), false), record);
    EXPECT_EQ(record.DW_UnitType, 1);
    EXPECT_EQ(record.DW_UnitMode, 2);
    EXPECT_EQ(record.DW_ICmode, 1);  // auto, one lower once the mode is not the first
    EXPECT_EQ(record.DW_ICRunTime, (model::MinSec{1, 0, 0}));
    EXPECT_EQ(record.DW_ICPulseCount, 4);
    EXPECT_EQ(record.DW_ProbeConcentration, 170);
    EXPECT_EQ(record.DW_ProbeAlarmDelay, (model::MinSec{5, 0, 0}));
    EXPECT_THAT(record.DW_PumpSpeed, ElementsAre(100, 75, 25));
    EXPECT_EQ(record.DW_PumpOffTime[2], (model::MinSec{1, 0, 0}));
    EXPECT_EQ(record.DW_IOCheckbox, 1);
    EXPECT_EQ(record.DW_IOPercent[0], 50);
    // The number shown first lives in the third byte.
    EXPECT_EQ(record.DW_IOTime[0], (model::MinSec{34, 0, 12}));
    EXPECT_EQ(record.DW_IODuration[0], (model::MinSec{15, 0, 0}));
    EXPECT_EQ(record.DW_PropRunning, 7);
    EXPECT_EQ(record.DW_PropTo, 8);
}

// Type and mode bytes out of range leave the record's own; a stream cut short is not taken for a
// whole one.
TEST(DishwashStream, OddBytesAndAShortStreamAreNotTakenAsSettings) {
    DishwashStream s = parsed(settingsStream(false), false);
    s.typeByte = 0;
    s.modeByte = 5;
    model::CDishWashViewData record;
    record.DW_UnitType = 1;
    record.DW_UnitMode = 3;
    storeDishwashStream(s, record);
    EXPECT_EQ(record.DW_UnitType, 1);
    EXPECT_EQ(record.DW_UnitMode, 3);

    Bytes bytes = settingsStream(false);
    bytes.pop_back();
    std::size_t at = 0;
    EXPECT_FALSE(parseDishwashStream(bufferSource(bytes, at), false, s));
}

TEST(DishwashVerify, EachDifferingSettingGetsOneLine) {
    const DishwashStream s = parsed(settingsStream(false), false);
    model::CDishWashViewData record;
    storeDishwashStream(s, record);
    record.DW_PumpSpeed[1] = 100;
    record.DW_IOTime[0].third = 13;
    std::vector<std::string> lines;
    for (const protocol::Difference& difference : compareDishwashStream(s, record)) {
        lines.push_back(differenceLine(difference));
    }
    EXPECT_THAT(lines, ElementsAre("pump 2 speed: unit 75, document 100",
                                   "output 1 time: unit 12:34, document 13:34"));
}

}  // namespace
}  // namespace qelto::legacy::test
