// GetReport against qelto-unitsim through the real serial code: the unit's counters, and its
// log searched for a range and split into shifts.
#include <gtest/gtest.h>

#include <ctime>
#include <nlohmann/json.hpp>

#include "log_words.h"
#include "reports/get_report.h"
#include "support/sim_link.h"
#include "support/test_env.h"

namespace qelto::reports {
namespace {

using namespace protocol;

using test::dateWord;
using test::pumpWord;

std::vector<std::string> stateOption(const nlohmann::json& state) {
    return qelto::test::stateOptions(qelto::test::testDir(), state);
}

TEST(GetReportOnSim, LogSearchFindsTheRangeAndSplitsTheShifts) {
    // Oldest first, as the unit writes it: each dose, then the date that stamps it.
    const nlohmann::json log = {
        pumpWord(0, 0, 100),
        dateWord(9, 1, 26, 10 * 3600),  // before the range
        pumpWord(2, 3, 10),
        pumpWord(2, 3, 20),
        dateWord(10, 1, 26, 8 * 3600),
        pumpWord(2, 3, 5),
        dateWord(12, 1, 26, 15 * 3600),
        pumpWord(19, 9, 7),
        dateWord(16, 1, 26, 9 * 3600),  // after it
    };
    qelto::test::SimLink sim(qelto::test::testDir(), stateOption({{"usage", {{"log", log}}}}));
    UnitChannel channel(*sim.link);
    UsageTables tables;
    ReportOptions options;
    options.fromDay = 2461051;  // 10 Jan 2026
    options.toDay = 2461056;    // 15 Jan 2026
    options.shiftChoice = kTwoShifts;
    options.shifts[0] = {7 * 3600, 9 * 3600};
    options.shifts[1] = {14 * 3600, 16 * 3600};
    ASSERT_TRUE(GetReport(tables, options, channel));
    EXPECT_EQ(tables.main[2][3], (UsageCell{2, 0, 0, 30}));
    EXPECT_EQ(tables.shift2.cycle[2][3], 1U);
    EXPECT_EQ(tables.shift2.time(2, 3), 5U);
    EXPECT_EQ(tables.main[19][9].cycle, 0);
    EXPECT_EQ(tables.main[0][0].cycle, 0);
    EXPECT_EQ(tables.main[kTotalsRow][3].time(), 30U);
    EXPECT_EQ(options.reportTo, (ShortDate{12, 1, 26}));
    EXPECT_EQ(options.reportFrom, (ShortDate{10, 1, 26}));
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
