// The report from a unit against the simulated unit through the real serial code: what comes
// back for the page, and that the engineer's document and the unit's lock are left as they were.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comms/unit_report.h"
#include "driver_on_sim.h"

namespace qelto {
namespace {

using namespace comms;

using test::unitMemory;

class ReportFromUnitTest : public test::DriverOnSim {
  protected:
    ReportOutcome report(reports::ReportResult code, const reports::ReportOptions& options = {}) {
        prompts.report = ReportRequest{code, options, true};
        OperationContext c = context();
        return reportFromUnit(c);
    }
};

TEST_F(ReportFromUnitTest, ASettingsReportCarriesTheUnitsSettingsAndLeavesTheDocumentAlone) {
    start(unitMemory());
    model::setText(config.customerName1, "My own customer");
    const auto pulsesBefore = config.pulseCount[0][0];

    const ReportOutcome outcome = report(reports::kReadSettings);
    ASSERT_EQ(outcome.result.status, OperationStatus::Ok);
    ASSERT_TRUE(outcome.report);
    EXPECT_TRUE(outcome.result.unitLocked);
    EXPECT_TRUE(prompts.messages.empty());

    // The read stages are the full read's (tested there); the report carries what they read.
    const UnitReport& r = *outcome.report;
    EXPECT_EQ(r.kind, reports::REP_TYPE_LAUNDRY_SETTINGS);
    EXPECT_EQ(model::textOf(r.unit.SerialNoUnit), "123456789");
    EXPECT_EQ(model::textOf(r.unit.customerName1), "Hotel Sud");
    EXPECT_EQ(r.unit.programs[0][0][1].dose, 300u);
    EXPECT_EQ(r.pumpCount, model::unitPumpCount(3));

    // A report read must not touch the document being edited.
    EXPECT_EQ(model::textOf(config.customerName1), "My own customer");
    EXPECT_EQ(config.pumpCalibration[1], 0u);
    EXPECT_EQ(config.pulseCount[0][0], pulsesBefore);
    EXPECT_TRUE(hints.empty());
    EXPECT_EQ(pollCommands().back(), protocol::CMD_LOCK);
}

TEST_F(ReportFromUnitTest, AUsageReportWithoutARangeTakesTheUnitsOwnCounters) {
    start(test::unitMemoryWithCounters());

    const ReportOutcome outcome = report(reports::kReadTotals);
    ASSERT_EQ(outcome.result.status, OperationStatus::Ok);
    ASSERT_TRUE(outcome.report);
    const UnitReport& r = *outcome.report;
    EXPECT_EQ(r.kind, reports::REP_TYPE_LAUNDRY_CYCLES);
    EXPECT_EQ(r.options.toDay, 0u);

    // The counters' figures reach the page's cells in qeltoctl's report test, which reads the
    // same counters. Every row carries the calibration, for the volumes of each program block.
    for (const auto& row : r.data.programs) {
        EXPECT_EQ(row.flowRate(0), 0u);
        EXPECT_EQ(row.flowRate(1), 120u);
    }
    // Programs 1 and 5 have enabled steps in the unit; no other does.
    std::array<std::uint8_t, reports::kUsageRows> present{};
    present[0] = 1;
    present[4] = 1;
    EXPECT_EQ(r.data.programPresent, present);
}

TEST_F(ReportFromUnitTest, ADatedUsageReportSearchesTheLogAndSaysSo) {
    nlohmann::json memory = unitMemory();
    memory["usage"] = {{"generate", {{"seed", 3}, {"first", "2026-11-01"}, {"days", 10}}}};
    start(memory);
    reports::ReportOptions options;
    options.reportFrom = {1, 11, 26};
    options.reportTo = {30, 11, 26};
    options.fromDay = *reports::julianDay(1, 11, 2026);
    options.toDay = *reports::julianDay(30, 11, 2026);

    const ReportOutcome outcome = report(reports::kReadDateRange, options);
    ASSERT_EQ(outcome.result.status, OperationStatus::Ok);
    ASSERT_TRUE(outcome.report);
    // The search puts the oldest and newest dates it counted in place of the asked ones.
    EXPECT_EQ(outcome.report->options.reportFrom, (reports::ShortDate{1, 11, 26}));
    EXPECT_EQ(outcome.report->options.reportTo, (reports::ShortDate{10, 11, 26}));
    EXPECT_GT(
        outcome.report->data.programs[20].cycles(0) + outcome.report->data.programs[20].cycles(1),
        0);
    EXPECT_NE(std::find(prompts.statuses.begin(), prompts.statuses.end(),
                        "SEARCHING unit LOG Please wait..."),
              prompts.statuses.end());
}

TEST_F(ReportFromUnitTest, AUnitThatStopsAnsweringGivesNoReportAndStopsAskingIt) {
    start(unitMemory(), {"--silent-after", "4"});
    const ReportOutcome outcome = report(reports::kReadSettings);
    EXPECT_EQ(outcome.result.status, OperationStatus::Failed);
    EXPECT_FALSE(outcome.report) << "a report with parts missing is never drawn";
    EXPECT_EQ(prompts.messages, std::vector<int>{360});
    // The unlock, the poll, then the calibration read that got no answer; nothing after it.
    EXPECT_FALSE(sent(protocol::CMD_GET_CUSTNAME));
}

TEST_F(ReportFromUnitTest, CancelledReportOptionsReadNothingButTheLock) {
    start(unitMemory());
    OperationContext c = context();
    const ReportOutcome outcome = reportFromUnit(c);
    EXPECT_EQ(outcome.result.status, OperationStatus::Cancelled);
    EXPECT_FALSE(outcome.report);
    EXPECT_EQ(pollCommands(), std::vector<int>{protocol::CMD_LOCK});
}

}  // namespace
}  // namespace qelto
