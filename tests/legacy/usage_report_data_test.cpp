// An older laundry unit's usage as the usage page reads it: every figure at its place in the
// 130-byte records, the unit's totals in row 20, and a pump count the records can hold.
#include "legacy/usage_report_data.h"

#include <gtest/gtest.h>

#include <vector>

namespace qelto::reports {
namespace {

using legacy::reportDataFromLegacyUsage;
using legacy::unitFromLegacyUsage;

std::vector<int> recordBytes(const ProgramRecord& record, std::initializer_list<int> offsets) {
    std::vector<int> values;
    for (const int at : offsets) {
        values.push_back(record.bytes.at(static_cast<std::size_t>(at)));
    }
    return values;
}

// Pump 1 calibrated at 250 ml/min on 14/03/24 with 100000 ml (0x0186A0) in 77 cycles; pump 2
// timed, 513 h 7 min 9 s in 3 cycles; program 3 used pump 2 for 5 h 6 min 7 s in 8 cycles.
legacy::LegacyUsage twoPumpUnit() {
    legacy::LegacyUsage usage;
    usage.pumpCount = 2;
    usage.totalCycles = 40000;
    usage.programPresent[2] = 1;
    legacy::UsageRecord& totals = usage.records[legacy::kUsageTotalsRow];
    totals.usage[0] = {0x0001, 0x86, 0xA0};
    totals.flowRate[0] = 250;
    totals.calibrationDay[0] = 14;
    totals.calibrationMonth[0] = 3;
    totals.calibrationYear[0] = 24;
    totals.cycles[0] = 77;
    totals.usage[1] = {513, 7, 9};
    totals.cycles[1] = 3;
    usage.records[2].usage[1] = {5, 6, 7};
    usage.records[2].cycles[1] = 8;
    return usage;
}

TEST(LegacyUsageData, ACalibratedPumpsTotalIsAVolumeWithItsFlowAndDate) {
    const ReportData data = reportDataFromLegacyUsage(twoPumpUnit());
    const ProgramRecord& totals = data.programs[kTotalsRow];
    // middle, low, then the high part little-endian; the flow as four bytes; day, month, year a
    // pump's width apart; the count little-endian at 110.
    EXPECT_EQ(recordBytes(totals, {0, 1, 2, 3}), (std::vector<int>{0x86, 0xA0, 0x01, 0x00}));
    EXPECT_EQ(recordBytes(totals, {40, 41, 42, 43}), (std::vector<int>{250, 0, 0, 0}));
    EXPECT_EQ(recordBytes(totals, {80, 90, 100}), (std::vector<int>{14, 3, 24}));
    EXPECT_EQ(recordBytes(totals, {110, 111}), (std::vector<int>{77, 0}));
    const UsageAmount amount = usageAmount(totals, 0);
    EXPECT_TRUE(amount.isVolume);
    EXPECT_EQ(amount.volume, 100000u);
}

TEST(LegacyUsageData, ATimedPumpKeepsHoursMinutesAndSecondsInTotalsAndPrograms) {
    const ReportData data = reportDataFromLegacyUsage(twoPumpUnit());
    // Pump 2 sits at offset 4: 513 hours is 0x0201.
    EXPECT_EQ(recordBytes(data.programs[kTotalsRow], {4, 5, 6, 7, 112, 113}),
              (std::vector<int>{7, 9, 0x01, 0x02, 3, 0}));
    EXPECT_EQ(usageAmount(data.programs[kTotalsRow], 1), (UsageAmount{false, 0, 513, 7, 9}));
    // A program's row carries no flow rate: the unit counts run time per program.
    EXPECT_EQ(usageAmount(data.programs[2], 1), (UsageAmount{false, 0, 5, 6, 7}));
    EXPECT_EQ(data.programs[2].cycles(1), 8);
    EXPECT_EQ(data.programs[2].flowRate(0), 0u);
}

TEST(LegacyUsageData, TheTotalsRowCarriesTheUnitsCountsAndOnlyItsOwnPumps) {
    legacy::LegacyUsage usage = twoPumpUnit();
    // A third pump's figures left over in the record are not the unit's: it has two.
    usage.records[legacy::kUsageTotalsRow].usage[2] = {1, 2, 3};
    usage.records[legacy::kUsageTotalsRow].flowRate[2] = 99;
    const ReportData data = reportDataFromLegacyUsage(usage);
    EXPECT_EQ(data.pumpCount, 2u);
    EXPECT_EQ(data.totalCycles, 40000u);
    EXPECT_TRUE(data.totalCyclesKnown);
    std::array<std::uint8_t, kUsageRows> present{};
    present[2] = 1;
    EXPECT_EQ(data.programPresent, present);
    EXPECT_EQ(usageAmount(data.programs[kTotalsRow], 2), UsageAmount{});
    EXPECT_EQ(data.programs[kTotalsRow].flowRate(2), 0u);
    EXPECT_EQ(data.programs[0], ProgramRecord{}) << "an unused program stays empty";
}

TEST(LegacyUsageData, AUnitClaimingTwelvePumpsGivesTheTenARecordHolds) {
    legacy::LegacyUsage usage;
    usage.pumpCount = 12;
    usage.records[legacy::kUsageTotalsRow].cycles[9] = 0x1234;
    usage.records[legacy::kUsageTotalsRow].flowRate[9] = 70;
    const ReportData data = reportDataFromLegacyUsage(usage);
    EXPECT_EQ(data.pumpCount, 10u);
    EXPECT_EQ(recordBytes(data.programs[kTotalsRow], {76, 128, 129}),
              (std::vector<int>{70, 0x34, 0x12}));
}

TEST(LegacyUsageData, TheUnitRecordHoldsOnlyWhatTheUnitSaid) {
    legacy::LegacyUsage usage = twoPumpUnit();
    usage.general.customerLines = {"Hotel Sud", "Laundry 2"};
    usage.comments = "Checked\r\non site";
    usage.programNames[1] = "Sheets";

    model::CProgData reset;
    reset.ResetAll(model::NoPumpNameDefaults{});

    const legacy::DeviceInfo signedOn{legacy::kInfoReceived, 11, '1', '1', '0'};
    const model::CProgData unit = unitFromLegacyUsage(usage, signedOn);
    EXPECT_EQ(model::textOf(unit.customerName1), "Hotel Sud");
    EXPECT_EQ(model::textOf(unit.customerName2), "Laundry 2");
    EXPECT_EQ(unit.comments, "Checked\r\non site");
    EXPECT_EQ(unit.progName[1], "Sheets");
    EXPECT_EQ(unit.progName[0], "");
    EXPECT_EQ(unit.unitType, 11);
    EXPECT_EQ(model::textOf(unit.SoftwareVersion), "1.10");
    EXPECT_EQ(model::textOf(unit.SerialNoUnit), "") << "the unit sends none; no made-up one";

    // A first unit tells nothing about itself at sign-on.
    const legacy::DeviceInfo silent{legacy::kInfoLegacyWithoutInformation, legacy::kUnknownUnitType,
                                    0, 0, 0};
    const model::CProgData first = unitFromLegacyUsage(usage, silent);
    EXPECT_EQ(first.unitType, reset.unitType);
    EXPECT_EQ(model::textOf(first.SoftwareVersion), model::textOf(reset.SoftwareVersion));
}

}  // namespace
}  // namespace qelto::reports
