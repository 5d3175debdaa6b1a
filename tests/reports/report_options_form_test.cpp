#include "reports/report_options_form.h"

#include <gtest/gtest.h>

namespace qelto::reports {
namespace {

constexpr CalendarDate kToday{2026, 12, 7};
constexpr std::uint32_t kNow = 9 * 3600 + 30 * 60;

// What the form enables and how it keeps its dates and shifts in order is driven through the
// report options dialog in tests/app; here, what it hands to the read.
TEST(ReportOptionsForm, OkFillsTheOptionsByChoice) {
    ReportOptions previous;
    previous.fromDay = 1;
    previous.toDay = 2;
    previous.shiftChoice = kTwoShifts;
    previous.reportTo = {1, 1, 1};

    ReportOptionsForm form(kToday, kNow);
    ReportOptions options = previous;
    // Today alone: 1 Jan 2026 (2,461,042) + 340 days = 7 Dec 2026.
    EXPECT_EQ(form.accept(options), kReadDateRange);
    EXPECT_EQ(options.fromDay, 2461382U);
    EXPECT_EQ(options.toDay, 2461382U);
    EXPECT_EQ(options.reportFrom, (ShortDate{7, 12, 26}));
    EXPECT_EQ(options.reportTo, (ShortDate{7, 12, 26}));
    EXPECT_EQ(options.shiftChoice, kNoShifts);

    form.setFrom({2026, 11, 30});  // 7 days earlier
    form.setShiftChoice(kThreeShifts);
    form.setShiftStart(2, 3600);
    form.setShiftEnd(2, 7200);
    EXPECT_EQ(form.accept(options), kReadDateRange);
    EXPECT_EQ(options.fromDay, 2461375U);
    EXPECT_EQ(options.shiftChoice, kThreeShifts);
    EXPECT_EQ(options.shifts[2], (ShiftWindow{3600, 7200}));

    form.choose(ReportChoice::UnitSettings);
    ReportOptions untouched = previous;
    EXPECT_EQ(form.accept(untouched), kReadSettings);
    EXPECT_EQ(untouched, previous);

    form.choose(ReportChoice::UnitTotals);
    EXPECT_EQ(form.accept(options), kReadTotals);
    EXPECT_EQ(options.fromDay, 0U);
    EXPECT_EQ(options.toDay, 0U);
    EXPECT_EQ(options.reportFrom, ShortDate{});
    EXPECT_EQ(options.reportTo, ShortDate{});
    EXPECT_EQ(options.shiftChoice, kNoShifts);
}

}  // namespace
}  // namespace qelto::reports
