#include "reports/julian_day.h"

#include <gtest/gtest.h>

namespace qelto::reports {
namespace {

// Anchors: 1 January 2000 is day 2,451,545; the rest are counted from it (or, for 1583, from
// 15 October 1582 = 2,299,161, the first Gregorian day) by whole months.
TEST(JulianDay, KnownDaysAcrossCenturiesAndLeapYears) {
    EXPECT_EQ(julianDay(1, 1, 2000), 2451545U);
    EXPECT_EQ(julianDay(1, 1, 2026), 2461042U);   // + 26 x 365 + 7 leap days
    EXPECT_EQ(julianDay(29, 2, 2024), 2460370U);  // 1 Jan 2024 (2,460,311) + 59
    EXPECT_EQ(julianDay(1, 3, 2024), 2460371U);
    EXPECT_EQ(julianDay(28, 2, 2100), 2488128U);  // 2100 is no leap year
    EXPECT_EQ(julianDay(1, 3, 2100), 2488129U);
    EXPECT_EQ(julianDay(1, 1, 1583), 2299239U);
}

TEST(JulianDay, ImpossibleDatesHaveNoNumber) {
    EXPECT_FALSE(julianDay(0, 5, 2026));
    EXPECT_FALSE(julianDay(32, 5, 2026));
    EXPECT_FALSE(julianDay(1, 0, 2026));
    EXPECT_FALSE(julianDay(1, 13, 2026));
    EXPECT_FALSE(julianDay(15, 10, 1582));
}

TEST(JulianDay, DayPastMonthEndRunsIntoNextMonth) {
    EXPECT_EQ(julianDay(31, 4, 2026), 2461162U);  // 1 Jan 2026 + 120 = 1 May
    EXPECT_EQ(julianDay(1, 5, 2026), 2461162U);
}

}  // namespace
}  // namespace qelto::reports
