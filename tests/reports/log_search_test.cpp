#include "reports/log_search.h"

#include <gtest/gtest.h>

#include <vector>

#include "log_words.h"

namespace qelto::reports {
namespace {

using test::dateWord;
using test::hms;
using test::pumpWord;

// Julian day numbers of the dates used below, counted by hand from 1 Jan 2026 = 2,461,042.
constexpr std::uint32_t kJan10 = 2461051;
constexpr std::uint32_t kJan12 = 2461053;
constexpr std::uint32_t kJan15 = 2461056;

struct Search {
    ReportOptions options;
    UsageTables tables;
    LogSearch search{options, tables};

    explicit Search(std::uint32_t from = kJan10, std::uint32_t to = kJan15) {
        options.fromDay = from;
        options.toDay = to;
    }
    // Feeds words until one ends the search; returns how many were read.
    std::size_t feed(const std::vector<std::uint32_t>& words) {
        std::size_t n = 0;
        for (const std::uint32_t w : words) {
            ++n;
            if (search.ParseLogRecord(w)) {
                break;
            }
        }
        return n;
    }
};

TEST(LogWords, DecodeByTheDocumentedBits) {
    // 7 Dec 2026 08:00:00: 1 | 7 << 2 | 12 << 7 | 26 << 11 | 7200 << 17.
    const DateRecord date = decodeDateRecord(0x3840D61DU);
    EXPECT_EQ(logWordType(0x3840D61DU), LogWordType::Date);
    EXPECT_EQ(date.date, (ShortDate{7, 12, 26}));
    EXPECT_EQ(date.timeOfDay, 28800U);
    // Program 4, pump 9, dose 1000: 4 << 2 | 9 << 7 | 1000 << 11.
    const PumpRecord pump = decodePumpRecord(0x001F4490U);
    EXPECT_EQ(logWordType(0x001F4490U), LogWordType::Pump);
    EXPECT_EQ(pump.program, 4);
    EXPECT_EQ(pump.pump, 9);
    EXPECT_EQ(pump.dose, 1000U);
    // The top two year bits (15 and 16) must not leak into the time: year 63, time 0.
    EXPECT_EQ(decodeDateRecord(dateWord(1, 1, 63, 0)).timeOfDay, 0U);
    EXPECT_EQ(decodeDateRecord(dateWord(1, 1, 0, hms(23, 59, 56))).timeOfDay, hms(23, 59, 56));
}

TEST(LogSearch, EndMarkersStopAtOnceWithNothingCounted) {
    for (const std::uint32_t end : {0U, 0xFFFFFFFFU}) {
        Search s;
        EXPECT_EQ(s.feed({end, dateWord(12, 1, 26, 0), pumpWord(0, 0, 5)}), 1U);
        EXPECT_EQ(s.search.state(), SearchState::Done);
        EXPECT_EQ(s.tables.main, UsageTable{});
    }
}

TEST(LogSearch, CountsOnlyBetweenFromAndToAndStopsAtFirstOlderDate) {
    Search s;
    const std::size_t read = s.feed({
        pumpWord(0, 0, 99),                 // before any date: not counted
        dateWord(16, 1, 26, hms(9, 0, 0)),  // newer than To
        pumpWord(0, 0, 50),
        dateWord(15, 1, 26, hms(8, 0, 0)),  // To itself
        pumpWord(2, 3, 10),
        pumpWord(2, 3, 5),
        dateWord(10, 1, 26, hms(7, 0, 0)),  // From itself
        pumpWord(19, 9, 7),
        dateWord(9, 1, 26, 0),  // older: done
        pumpWord(2, 3, 1000),   // still decoded, never counted
        dateWord(8, 1, 26, 0),  // a date after Done ends the reading
        pumpWord(2, 3, 1000),
    });
    EXPECT_EQ(read, 11U);
    EXPECT_EQ(s.tables.main[2][3].cycle, 2);
    EXPECT_EQ(s.tables.main[2][3].time(), 15U);
    EXPECT_EQ(s.tables.main[19][9].cycle, 1);
    EXPECT_EQ(s.tables.main[0][0].cycle, 0);
    EXPECT_EQ(s.options.reportTo, (ShortDate{15, 1, 26}));
    EXPECT_EQ(s.options.reportFrom, (ShortDate{10, 1, 26}));
}

TEST(LogSearch, RangeCoveringWholeLogEndsOnMarkerWithOldestDateAsFrom) {
    Search s(kJan10, kJan15);
    s.feed({dateWord(12, 1, 26, 0), pumpWord(0, 0, 1), dateWord(11, 1, 26, 0), pumpWord(0, 1, 1),
            0xFFFFFFFFU, pumpWord(0, 2, 1)});
    EXPECT_EQ(s.options.reportTo, (ShortDate{12, 1, 26}));
    EXPECT_EQ(s.options.reportFrom, (ShortDate{11, 1, 26}));
    EXPECT_EQ(s.tables.main[0][1].cycle, 1);
    EXPECT_EQ(s.tables.main[0][2].cycle, 0);
}

TEST(LogSearch, ImpossibleDateKeepsTheDayButTakesTheTime) {
    Search s(kJan12, kJan12);
    s.options.shiftChoice = kTwoShifts;
    s.options.shifts[0] = {hms(6, 0, 0), hms(13, 59, 56)};
    s.options.shifts[1] = {hms(14, 0, 0), hms(21, 59, 56)};
    s.feed({dateWord(12, 1, 26, hms(8, 0, 0)), pumpWord(0, 0, 1),
            dateWord(12, 13, 26, hms(15, 0, 0)),  // month 13: still 12 Jan, now 15:00
            pumpWord(0, 0, 2)});
    EXPECT_EQ(s.search.recordDay(), kJan12);
    EXPECT_EQ(s.search.recordTime(), hms(15, 0, 0));
    EXPECT_EQ(s.tables.main[0][0].time(), 1U);
    EXPECT_EQ(s.tables.shift2.time(0, 0), 2U);
    // The range dates are only ever taken from real dates.
    EXPECT_EQ(s.options.reportFrom, (ShortDate{12, 1, 26}));

    // Before any good date, an impossible one does not end the search either.
    Search first;
    first.feed(
        {dateWord(0, 1, 26, 0), pumpWord(0, 0, 1), dateWord(12, 1, 26, 0), pumpWord(0, 0, 2)});
    EXPECT_EQ(first.search.state(), SearchState::InRange);
    EXPECT_EQ(first.tables.main[0][0].time(), 2U);
}

TEST(LogSearch, RecordsOutsideTheTablesAndOtherTypesAreSkipped) {
    Search s;
    s.feed({dateWord(12, 1, 26, 0), pumpWord(20, 0, 1), pumpWord(31, 15, 1), pumpWord(0, 10, 1),
            0x2U | (5U << 2), 0x3U | (5U << 2), pumpWord(0, 0, 1)});
    UsageTable expected{};
    expected[0][0].count(1, AmountKind::Volume);
    EXPECT_EQ(s.tables.main, expected);
}

// Shift 1 is 06:00:00-13:59:56, shift 2 14:00:00-21:59:56, shift 3 20:00:00-23:59:56 (it
// overlaps shift 2 for two hours). Log times move in steps of 4 seconds.
struct Shifts : ::testing::Test {
    Search s{kJan12, kJan12};
    void SetUp() override {
        s.options.shifts[0] = {hms(6, 0, 0), hms(13, 59, 56)};
        s.options.shifts[1] = {hms(14, 0, 0), hms(21, 59, 56)};
        s.options.shifts[2] = {hms(20, 0, 0), hms(23, 59, 56)};
    }
    void doseAt(std::uint32_t seconds, std::uint32_t dose) {
        s.feed({dateWord(12, 1, 26, seconds), pumpWord(1, 2, dose)});
    }
};

TEST_F(Shifts, TwoShiftsCountAtBothExactBoundsAndDropTimesOutsideBoth) {
    s.options.shiftChoice = kTwoShifts;
    doseAt(hms(6, 0, 0), 1);     // shift 1 start
    doseAt(hms(13, 59, 56), 2);  // shift 1 end
    doseAt(hms(14, 0, 0), 4);    // shift 2 start
    doseAt(hms(21, 59, 56), 8);  // shift 2 end
    doseAt(hms(5, 59, 56), 16);  // before shift 1
    doseAt(hms(22, 0, 0), 32);   // after shift 2
    doseAt(hms(21, 0, 0), 64);   // shift 2; shift 3 is not asked for
    EXPECT_EQ(s.tables.main[1][2].cycle, 2);
    EXPECT_EQ(s.tables.main[1][2].time(), 3U);
    EXPECT_EQ(s.tables.shift2.cycle[1][2], 3U);
    EXPECT_EQ(s.tables.shift2.time(1, 2), 76U);
    EXPECT_EQ(s.tables.shift3, ShiftTable{});
}

TEST_F(Shifts, ThreeShiftsCountAnOverlapInBoth) {
    s.options.shiftChoice = kThreeShifts;
    doseAt(hms(20, 0, 0), 1);
    doseAt(hms(23, 59, 56), 2);
    doseAt(hms(19, 59, 56), 4);
    EXPECT_EQ(s.tables.shift2.time(1, 2), 5U);
    EXPECT_EQ(s.tables.shift3.time(1, 2), 3U);
    EXPECT_EQ(s.tables.shift3.cycle[1][2], 2U);
    EXPECT_EQ(s.tables.main[1][2].cycle, 0);
}

TEST(UsageTables, CountsWrapAtTheirWidthsAndVolumesKeepThirtyTwoBits) {
    UsageTables tables;
    // 65,536 events bring a 16-bit count back to 0; the 32-bit time keeps every dose.
    for (int i = 0; i < 65536; ++i) {
        tables.main[0][0].count(1, AmountKind::Volume);
    }
    EXPECT_EQ(tables.main[0][0].cycle, 0);
    EXPECT_EQ(tables.main[0][0].time(), 65536U);
    // Nine of the largest doses, 9 x 2,097,151 = 18,874,359 = 0x011F_FFF7, pass 24 bits; a
    // shift keeps them as the main table does.
    for (int i = 0; i < 9; ++i) {
        tables.shift2.count(3, 4, 0x1FFFFF, AmountKind::Volume);
        tables.main[3][4].count(0x1FFFFF, AmountKind::Volume);
    }
    EXPECT_EQ(tables.shift2.time(3, 4), 18874359U);
    EXPECT_EQ(tables.main[3][4].timeHigh, 0x011F);
    EXPECT_EQ(tables.main[3][4].timeMiddle, 0xFF);
    EXPECT_EQ(tables.main[3][4].timeLow, 0xF7);

    tables.main[0][1].cycle = 60000;
    tables.main[19][1].cycle = 6000;  // 66,000 wraps to 464
    tables.main[0][1].setTime(0xFFFFFFF0U);
    tables.main[5][1].setTime(0x20U);  // wraps to 0x10
    tables.shift2.cycle[0][1] = 60000;
    tables.shift2.cycle[1][1] = 6000;  // 32 bits: no wrap
    sumTotalsRow(tables.main, tables.kinds);
    sumTotalsRow(tables.shift2, tables.kinds);
    EXPECT_EQ(tables.main[kTotalsRow][1].cycle, 464);
    EXPECT_EQ(tables.main[kTotalsRow][1].time(), 0x10U);
    EXPECT_EQ(tables.shift2.cycle[kTotalsRow][1], 66000U);
}

// Run times are hours << 16 | minutes << 8 | seconds; each sum below is worked out by hand.
TEST(UsageTables, RunTimesCarrySixtySecondsAndSixtyMinutes) {
    struct Case {
        std::uint32_t a, b, sum;
    };
    for (const Case& c : {
             Case{0x00003B, 0x00003B, 0x00013A},  // 59 s + 59 s = 1:58
             Case{0x003B3B, 0x000001, 0x010000},  // 59:59 + 1 s = 1 h
             Case{0x00013B, 0x003B3B, 0x01013A},  // 1:59 + 59:59 = 1 h 1:58
             Case{0x020304, 0x000000, 0x020304},  // a figure alone stays as it is
         }) {
        EXPECT_EQ(addAmounts(c.a, c.b, AmountKind::RunTime), c.sum) << std::hex << c.a;
        EXPECT_EQ(addAmounts(c.a, c.b, AmountKind::Volume), c.a + c.b);
    }
}

}  // namespace
}  // namespace qelto::reports
