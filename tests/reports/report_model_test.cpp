#include <gtest/gtest.h>

#include "reports/report_data.h"
#include "reports/report_kinds.h"

namespace qelto::reports {
namespace {

TEST(ReportRouting, EveryKindAndSourceGoesWhereTheTableSays) {
    using A = ReportAction;
    struct Row {
        std::uint8_t kind;
        std::uint8_t source;
        ReportRoute route;
    };
    const Row rows[] = {
        {0, 0, {A::DishwashSettings, false, 0}},
        {1, 0, {}},
        {2, 0, {A::LaundrySettings, false, 0}},
        {3, 0, {}},
        {4, 0, {}},
        {5, 0, {}},
        {2, 1, {A::MessageNoSuchSource, false, 1}},
        {0, 2, {A::MessageNoDishwashFromUnit, false, 2}},
        {1, 2, {A::MessageNoDishwashFromUnit, false, 2}},
        {2, 2, {A::LaundrySettings, true, 2}},
        {3, 2, {A::LaundryUsage, true, 2}},
        {4, 2, {}},
        {5, 2, {}},
        {9, 2, {}},
        {2, 3, {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(routeReport(row.kind, row.source), row.route)
            << "kind " << int{row.kind} << " source " << int{row.source};
    }
}

TEST(ReportData, ProgramRecordFieldsSitAtTheirOffsets) {
    ProgramRecord record;
    record.setUsage(2, UsageCell{0x1234, 0xBEEF, 0x56, 0x78});
    record.setFlowRate(9, 0x01020304);
    record.setCalibrationDate(9, {31, 12, 26});
    // Pump 2: middle, low, high word little-endian at 8..11; its count at 114..115.
    EXPECT_EQ(record.bytes[8], 0x56);
    EXPECT_EQ(record.bytes[9], 0x78);
    EXPECT_EQ(record.bytes[10], 0xEF);
    EXPECT_EQ(record.bytes[11], 0xBE);
    EXPECT_EQ(record.bytes[114], 0x34);
    EXPECT_EQ(record.bytes[115], 0x12);
    // Pump 9: flow at 76..79, calibration day, month, year at 89, 99, 109.
    EXPECT_EQ(record.bytes[76], 0x04);
    EXPECT_EQ(record.bytes[79], 0x01);
    EXPECT_EQ(record.bytes[89], 31);
    EXPECT_EQ(record.bytes[99], 12);
    EXPECT_EQ(record.bytes[109], 26);
    EXPECT_EQ(record.usage(2), (UsageCell{0x1234, 0xBEEF, 0x56, 0x78}));
}

TEST(ReportData, UsageIsAVolumeForACalibratedPumpElseARunTime) {
    ProgramRecord record;
    record.setUsage(0, UsageCell{1, 2, 30, 45});
    record.setUsage(1, UsageCell{1, 2, 30, 45});
    record.setFlowRate(1, 250);
    EXPECT_EQ(usageAmount(record, 0), (UsageAmount{false, 0, 2, 30, 45}));
    EXPECT_EQ(usageAmount(record, 1), (UsageAmount{true, 2 * 65536 + 30 * 256 + 45, 0, 0, 0}));
}

}  // namespace
}  // namespace qelto::reports
