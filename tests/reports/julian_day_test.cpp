#include "reports/julian_day.h"

#include <gtest/gtest.h>

#include <tuple>

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

// Impossible dates have none; a day past the month's end runs into the next month.
TEST(JulianDay, ImpossibleDatesHaveNoNumberButDaysRunOn) {
    for (const auto& [day, month, year] :
         {std::tuple{0U, 5U, 2026U}, std::tuple{32U, 5U, 2026U}, std::tuple{1U, 0U, 2026U},
          std::tuple{1U, 13U, 2026U}, std::tuple{15U, 10U, 1582U}}) {
        EXPECT_FALSE(julianDay(day, month, year)) << day << "." << month << "." << year;
    }
    EXPECT_EQ(julianDay(31, 4, 2026), 2461162U);  // 1 Jan 2026 + 120 = 1 May
}

}  // namespace
}  // namespace qelto::reports
