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

// Where a search stops, its shifts and how run times carry are the log search's own tests, and the
// reads against the simulated unit the report-from-unit test's; here, the exchange around them.

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
