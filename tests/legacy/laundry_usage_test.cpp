// The laundry usage report and the text dump against streams worked out by hand from their
// layout, over a scripted link.
#include "legacy/laundry_usage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "legacy/text_dump.h"
#include "unit_script.h"

namespace qelto::legacy::test {
namespace {

using ::testing::ElementsAre;

const Bytes kUsageFrame{0xC8, 0xF2, 0x00, 0x60, 0x45};
const Bytes kDumpFrame{0xC8, 0xFE, 0x00, 0x60, 0x40};

// Two pumps; programs 1 and 3 used; 258 cycles in all. Pump 1 ran 1 h 2 min 3 s, flows
// 200 ml/min and was calibrated on 15.6.24, pump 2 ran 45 s; 16 and 32 cycles. Program 1:
// 1 h 0 min 5 s and 0 h 1 min 0 s, 5 and 6 cycles; program 3: 9 s and 2 h 3 min 4 s, 7 and 256.
Bytes usageStream() {
    Bytes s{0x02};
    Bytes present(20, 0);
    present[0] = 1;
    present[2] = 1;
    s = s + present + Bytes{0x01, 0x02};
    s = s + Bytes{0x00, 0x01, 2, 3, 0x00, 0xC8, 15, 6, 24};
    s = s + Bytes{0x00, 0x00, 0, 45, 0x00, 0x00, 0, 0, 0};
    s = s + Bytes{0x00, 0x10, 0x00, 0x20};
    s = s + Bytes{1, 0, 5, 0, 1, 0, 0x00, 0x05, 0x00, 0x06};
    s = s + Bytes{0, 0, 9, 2, 3, 4, 0x00, 0x07, 0x01, 0x00};
    Bytes general{'H', 'O', 'T', 'E', 'L'};
    general.resize(34, 0);
    return s + general + Bytes{0x00, 0x01, 0x00, 0x02, 0x00, 0x03};
}

class LaundryUsageTest : public LegacyLinkTest {
  protected:
    // The command as the operation sends it, then what follows it on the link.
    bool readUsage(LegacyUsage& usage) {
        return link.SendCmd(0xF2) == LegacyResult::Ok && receiveLegacyUsage(link, usage);
    }
    std::vector<std::string> readDump() {
        std::vector<std::string> lines;
        EXPECT_EQ(link.SendCmd(0xFE), LegacyResult::Ok);
        receiveTextDump(link, lines);
        return lines;
    }
};

TEST_F(LaundryUsageTest, UnitTotalsGoToTheLastRowAndUsedProgramsToTheirOwn) {
    plainCommand(unit, {'1', '0', '9'}, kUsageFrame);
    unit.reply(usageStream());
    LegacyUsage usage;
    ASSERT_TRUE(readUsage(usage));
    EXPECT_EQ(usage.pumpCount, 2U);
    EXPECT_EQ(usage.totalCycles, 258U);
    const UsageRecord& totals = usage.records[kUsageTotalsRow];
    EXPECT_EQ(totals.usage[0], (UsageTotal{1, 2, 3}));
    EXPECT_EQ(totals.usage[1], (UsageTotal{0, 0, 45}));
    EXPECT_EQ(totals.flowRate[0], 200U);
    EXPECT_EQ(totals.calibrationDay[0], 15);
    EXPECT_EQ(totals.calibrationMonth[0], 6);
    EXPECT_EQ(totals.calibrationYear[0], 24);
    EXPECT_THAT(totals.cycles, ElementsAre(16, 32, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(usage.records[0].usage[0], (UsageTotal{1, 0, 5}));
    EXPECT_EQ(usage.records[0].cycles[1], 6);
    EXPECT_EQ(usage.records[1].usage[0], UsageTotal{});
    EXPECT_EQ(usage.records[2].usage[1], (UsageTotal{2, 3, 4}));
    EXPECT_EQ(usage.records[2].cycles[1], 256);
    EXPECT_EQ(usage.general.customerLines[0], "HOTEL");
    EXPECT_THAT(usage.general.pins, ElementsAre(1, 2, 3));
}

TEST_F(LaundryUsageTest, MorePumpsThanARecordHoldsIsRefusedBeforeAnyCounter) {
    plainCommand(unit, {'1', '0', '9'}, kUsageFrame);
    unit.reply({11});
    LegacyUsage usage;
    EXPECT_FALSE(readUsage(usage));
}

TEST_F(LaundryUsageTest, AStreamThatBreaksOffFails) {
    plainCommand(unit, {'1', '0', '9'}, kUsageFrame);
    const Bytes stream = usageStream();
    unit.reply(Bytes(stream.begin(), stream.end() - 1)).silence();
    LegacyUsage usage;
    EXPECT_FALSE(readUsage(usage));
}

TEST_F(LaundryUsageTest, TheTextDumpSplitsLinesDropsReturnsAndEndsAtNul) {
    plainCommand(unit, {'1', '0', '9'}, kDumpFrame);
    unit.reply({'A', '\r', '\n', '\n', 'B', 0});
    EXPECT_THAT(readDump(), ElementsAre("A", "", "B"));
}

TEST_F(LaundryUsageTest, ATextDumpThatFallsSilentKeepsItsLastLine) {
    plainCommand(unit, {'1', '0', '9'}, kDumpFrame);
    unit.reply({'X', '\n', 'Y'}).silence();
    EXPECT_THAT(readDump(), ElementsAre("X", "Y"));
}

}  // namespace
}  // namespace qelto::legacy::test
