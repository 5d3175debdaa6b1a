#include <gtest/gtest.h>

#include "reports/report_data.h"

namespace qelto::reports {
namespace {

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

}  // namespace
}  // namespace qelto::reports
