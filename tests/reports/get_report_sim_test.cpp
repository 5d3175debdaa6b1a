// GetReport against qelto-unitsim through the real serial code: the unit's counters and its whole
// log searched must agree. A range and its shifts are the log search's tests, and a dated report
// from the simulated unit the report-from-unit test's.
#include <gtest/gtest.h>

#include <ctime>
#include <nlohmann/json.hpp>

#include "reports/get_report.h"
#include "support/sim_link.h"
#include "support/test_env.h"

namespace qelto::reports {
namespace {

using namespace protocol;

std::vector<std::string> stateOption(const nlohmann::json& state) {
    return qelto::test::stateOptions(qelto::test::testDir(), state);
}

ShortDate localToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {static_cast<std::uint8_t>(local.tm_mday), static_cast<std::uint8_t>(local.tm_mon + 1),
            static_cast<std::uint8_t>(local.tm_year - 100)};
}

// Every pump of the simulated unit is time-dosed: its counters carry run times at 60 seconds and
// 60 minutes, and the log search must add the same doses up to the same figures. A history from
// --usage-seed ends today.
TEST(GetReportOnSim, WholeLogAgreesWithTheUnitsOwnCounters) {
    const ShortDate today = localToday();
    const struct {
        std::vector<std::string> options;
        ShortDate newest;
    } rows[] = {
        {stateOption(
             {{"usage", {{"generate", {{"seed", 5}, {"first", "2026-10-01"}, {"days", 20}}}}}}),
         {20, 10, 26}},
        {{"--usage-seed", "3", "--usage-days", "5"}, today},
    };
    for (const auto& row : rows) {
        qelto::test::SimLink sim(qelto::test::testDir(), row.options);
        UnitChannel channel(*sim.link);
        UsageTables totals;
        ReportOptions none;
        ASSERT_TRUE(GetReport(totals, none, channel));
        EXPECT_NE(totals.main[kTotalsRow], (std::array<UsageCell, kUsagePumps>{}));

        UsageTables searched;
        searched.kinds.fill(AmountKind::RunTime);
        ReportOptions everything;
        everything.fromDay = 2451545;  // 1 Jan 2000
        everything.toDay = 2461042 + 36500;
        std::uint32_t lastCount = 0;
        ASSERT_TRUE(
            GetReport(searched, everything, channel, [&](std::uint32_t n) { lastCount = n; }));
        EXPECT_GT(lastCount, 20U);
        EXPECT_EQ(searched.main, totals.main);
        if (localToday() == today) {  // not across midnight
            EXPECT_EQ(everything.reportTo, row.newest);
        }
    }
}

}  // namespace
}  // namespace qelto::reports
