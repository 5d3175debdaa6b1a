#include "reports/get_report.h"

#include <gtest/gtest.h>

#include <vector>

#include "log_words.h"
#include "protocol/scripted_unit.h"

namespace qelto::reports {
namespace {

using namespace protocol;
using test::dateWord;
using test::pumpWord;

// 10 to 15 January 2026, counted by hand from 1 Jan 2026 = 2,461,042.
constexpr std::uint32_t kJan10 = 2461051;
constexpr std::uint32_t kJan15 = 2461056;

// Hands out a log, newest word first, seven words a reply, zeros past the end; a request with
// byte 9 set starts again at the newest.
struct LogUnit {
    protocol::test::ScriptedUnit unit;
    std::vector<std::uint32_t> words;
    std::size_t next = 0;

    LogUnit() {
        unit.path.responder = [this](const Packet& request) -> std::optional<Packet> {
            if (request[9] == 1) {
                next = 0;
            }
            LogWords reply{};
            for (std::uint32_t& w : reply) {
                w = next < words.size() ? words[next] : 0;
                ++next;
            }
            return makeLogReply(reply);
        };
    }
};

ReportOptions range(std::uint32_t from, std::uint32_t to) {
    ReportOptions options;
    options.fromDay = from;
    options.toDay = to;
    return options;
}

TEST(GetReportLog, RequestsFlagTheFirstAndCarryTheLowByteOfToDay) {
    LogUnit log;
    log.words = {dateWord(12, 1, 26, 0)};
    log.words.resize(15, pumpWord(0, 0, 1));  // the end marker falls in the third reply
    UsageTables tables;
    ReportOptions options = range(kJan10, kJan15);
    std::vector<std::uint32_t> progress;
    ASSERT_TRUE(GetReport(tables, options, log.unit.channel,
                          [&](std::uint32_t n) { progress.push_back(n); }));
    ASSERT_EQ(log.unit.sent().size(), 3U);
    EXPECT_EQ(log.unit.sent()[0], makeLogRequest(true, 0x80));  // 2,461,056 = 0x258D80
    EXPECT_EQ(log.unit.sent()[1], makeLogRequest(false, 0x80));
    EXPECT_EQ(log.unit.sent()[2], makeLogRequest(false, 0x80));
    EXPECT_EQ(progress, (std::vector<std::uint32_t>{7, 14, 16}));
    EXPECT_EQ(logSearchStatus(16), "Searching Log records - 00000016 ");
    EXPECT_EQ(tables.main[0][0].cycle, 14);
    EXPECT_EQ(tables.main[kTotalsRow][0].cycle, 14);
}

TEST(GetReportLog, EmptyLogSucceedsWithEverythingZero) {
    LogUnit log;
    UsageTables tables;
    tables.main[3][3].cycle = 9;  // left from an earlier run
    ReportOptions options = range(kJan10, kJan15);
    ASSERT_TRUE(GetReport(tables, options, log.unit.channel));
    EXPECT_EQ(tables.main, UsageTable{});
    EXPECT_EQ(log.unit.sent().size(), 1U);
}

TEST(GetReportLog, StopsAskingOnceADateBeforeTheRangeArrives) {
    LogUnit log;
    log.words = {dateWord(12, 1, 26, 0), pumpWord(4, 9, 1000), pumpWord(4, 9, 24),
                 dateWord(9, 1, 26, 0)};
    log.words.resize(40, pumpWord(4, 9, 1));
    UsageTables tables;
    ReportOptions options = range(kJan10, kJan15);
    ASSERT_TRUE(GetReport(tables, options, log.unit.channel));
    EXPECT_EQ(log.unit.sent().size(), 1U);
    EXPECT_EQ(tables.main[4][9].time(), 1024U);
    EXPECT_EQ(tables.main[kTotalsRow][9].time(), 1024U);
}

TEST(GetReportLog, ShiftTotalsRowsAreSummedOnlyForTheChosenShifts) {
    LogUnit log;
    log.words = {dateWord(12, 1, 26, 36000), pumpWord(0, 0, 3), pumpWord(1, 0, 4)};
    UsageTables tables;
    ReportOptions options = range(kJan10, kJan15);
    options.shiftChoice = kTwoShifts;
    options.shifts[0] = {0, 1000};
    options.shifts[1] = {30000, 40000};
    options.shifts[2] = {30000, 40000};
    ASSERT_TRUE(GetReport(tables, options, log.unit.channel));
    EXPECT_EQ(tables.main, UsageTable{});
    EXPECT_EQ(tables.shift2.time(kTotalsRow, 0), 7U);
    EXPECT_EQ(tables.shift2.cycle[kTotalsRow][0], 2U);
    EXPECT_EQ(tables.shift3, ShiftTable{});
}

// Pump 1 is timed, pump 2 calibrated. Program 1 runs pump 1 five times for 59 s (295 s =
// 4:55), program 2 once for 3:00; the all-programs row holds 7:55, where adding the parts as one
// number kept 99 s for program 1 and 4:39 for all. Both shift windows take the whole day.
TEST(GetReportLog, RunTimesAddUpWithCarryingInEveryTable) {
    LogUnit log;
    log.words = {dateWord(12, 1, 26, 36000)};
    for (int i = 0; i < 5; ++i) {
        log.words.push_back(pumpWord(0, 0, 0x00003B));
    }
    log.words.insert(log.words.end(), {pumpWord(1, 0, 0x000300), pumpWord(0, 1, 200),
                                       pumpWord(0, 1, 200), pumpWord(1, 1, 0xFF)});
    UsageTables tables;
    tables.kinds[0] = AmountKind::RunTime;
    ReportOptions options = range(kJan10, kJan15);
    options.shiftChoice = kTwoShifts;
    options.shifts[0] = {0, 86399};
    options.shifts[1] = {0, 86399};
    ASSERT_TRUE(GetReport(tables, options, log.unit.channel));
    EXPECT_EQ(tables.kinds[0], AmountKind::RunTime) << "the read keeps the pumps' kinds";
    EXPECT_EQ(tables.main[0][0].time(), 0x000437U);
    EXPECT_EQ(tables.main[1][0].time(), 0x000300U);
    EXPECT_EQ(tables.main[kTotalsRow][0].time(), 0x000737U);
    EXPECT_EQ(tables.shift2.time(kTotalsRow, 0), 0x000737U);
    EXPECT_EQ(tables.main[kTotalsRow][1].time(), 655U) << "volumes add as numbers";
}

// A wrong reply, silence, the operator's cancel and a log that never ends all end the search
// without a report; only the cancel says it was one.
TEST(GetReportLog, EveryWayTheSearchEndsWithoutAnEndMarkerFails) {
    ReportOptions options = range(kJan10, kJan15);
    UsageTables tables;
    protocol::test::ScriptedUnit unit;
    unit.reply(makeAck());
    EXPECT_FALSE(GetReport(tables, options, unit.channel));
    EXPECT_FALSE(GetReport(tables, options, unit.channel));  // nothing left: no reply at all
    EXPECT_FALSE(unit.channel.cancelled());

    LogUnit cancelled;
    cancelled.words.assign(100, pumpWord(0, 0, 1));
    cancelled.unit.abort = true;
    EXPECT_FALSE(GetReport(tables, options, cancelled.unit.channel));
    EXPECT_TRUE(cancelled.unit.channel.cancelled());

    protocol::test::ScriptedUnit endless;
    endless.path.responder = [](const Packet&) {
        LogWords words;
        words.fill(pumpWord(0, 0, 1));
        return std::optional(makeLogReply(words));
    };
    EXPECT_FALSE(GetReport(tables, options, endless.channel));
    EXPECT_EQ(endless.sent().size(), kMaxLogReplies);
}

// Every counter reply gives program p, pump n the count 100p + n and a time whose parts spell
// the program and pump, so a cell that lands in the wrong place shows.
std::optional<Packet> countersOf(const Packet& request) {
    const std::uint8_t program = request[7];
    const std::uint8_t block = request[8];
    TotalsReply reply;
    reply.block = block;
    for (std::uint8_t k = 0; k < 4; ++k) {
        const auto pump = static_cast<std::uint8_t>(4 * block + k);
        reply.cells[k] = {static_cast<std::uint16_t>(100 * program + pump), program, pump, 0xAB};
    }
    return makeTotalsReply(reply);
}

TEST(GetReportTotals, ARefusedBlockStopsTheRead) {
    protocol::test::ScriptedUnit unit;
    unit.reply(*countersOf(makeTotalsRequest(1, 0)));
    unit.reply(makeNak());
    UsageTables tables;
    ReportOptions options;
    EXPECT_FALSE(GetReport(tables, options, unit.channel));
    EXPECT_EQ(unit.sent().size(), 2U);
    EXPECT_EQ(tables.main[0][3].cycle, 103);
}

}  // namespace
}  // namespace qelto::reports
