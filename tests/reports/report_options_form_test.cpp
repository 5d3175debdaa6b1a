#include "reports/report_options_form.h"

#include <gtest/gtest.h>

namespace qelto::reports {
namespace {

constexpr CalendarDate kToday{2026, 12, 7};
constexpr std::uint32_t kNow = 9 * 3600 + 30 * 60;

// The form opens on today's range with shifts off; the controls follow the choice and the shift
// count.
TEST(ReportOptionsForm, OpensOnTodaysRangeAndEnablesWhatTheChoiceUses) {
    ReportOptionsForm form(kToday, kNow);
    EXPECT_EQ(form.choice(), ReportChoice::DateRange);
    EXPECT_EQ(form.from(), kToday);
    EXPECT_EQ(form.to(), kToday);
    EXPECT_EQ(form.shift(2), (ShiftWindow{kNow, kNow}));
    FormEnabled expected;
    expected.fromDate = true;
    expected.shiftButtons = true;
    EXPECT_EQ(form.enabled(), expected);
    form.setFrom({2026, 12, 1});
    EXPECT_TRUE(form.enabled().toDate);
    form.setShiftChoice(kTwoShifts);
    EXPECT_EQ(form.enabled().shiftTimes, (std::array<bool, 3>{true, true, false}));
    form.setShiftChoice(kThreeShifts);
    EXPECT_EQ(form.enabled().shiftTimes, (std::array<bool, 3>{true, true, true}));
    form.choose(ReportChoice::UnitTotals);
    EXPECT_EQ(form.enabled(), FormEnabled{});
    form.choose(ReportChoice::UnitSettings);
    EXPECT_EQ(form.enabled(), FormEnabled{});
}

// Dates stay within today and in order; a shift never ends before it starts.
TEST(ReportOptionsForm, DatesAndShiftsStayInOrder) {
    ReportOptionsForm form(kToday, kNow);
    form.setFrom({2026, 12, 8});
    EXPECT_EQ(form.from(), kToday);  // later than today
    form.setFrom({2026, 11, 1});
    form.setTo({2026, 11, 20});
    form.setFrom({2026, 11, 25});
    EXPECT_EQ(form.from(), (CalendarDate{2026, 11, 20}));  // later than To
    form.setTo({2027, 1, 1});
    EXPECT_EQ(form.to(), kToday);  // later than today
    form.setTo({2026, 10, 1});
    EXPECT_EQ(form.to(), (CalendarDate{2026, 11, 20}));  // earlier than From
    form.setShiftStart(0, 6 * 3600);
    form.setShiftEnd(0, 5 * 3600);
    EXPECT_EQ(form.shift(0), (ShiftWindow{6 * 3600, 6 * 3600}));
    form.setShiftEnd(1, 22 * 3600);
    form.setShiftStart(1, 23 * 3600);
    EXPECT_EQ(form.shift(1), (ShiftWindow{23 * 3600, 23 * 3600}));
}

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
