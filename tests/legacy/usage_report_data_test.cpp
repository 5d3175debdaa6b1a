// An older laundry unit's usage as the usage page reads it. Every figure's place on the page is
// checked through qeltoctl legacy usage against the simulated unit (tests/cli); here, what the
// unit did not send: pumps beyond its count or beyond ten, and an identity it never gave.
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
