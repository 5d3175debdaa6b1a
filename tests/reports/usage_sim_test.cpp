// The simulator's own side of the usage data, checked against the documented layouts by hand.
#include <gtest/gtest.h>

#include "protocol/packet.h"
#include "sim/laundry_unit.h"
#include "sim/sim_state.h"
#include "sim/usage_state.h"

namespace qelto::sim {
namespace {

using namespace protocol;

Packet report(std::uint8_t program, std::uint8_t block, std::uint8_t first = 0) {
    Packet request;
    request[1] = PKT_POLL;
    request[6] = CMD_GET_REPORT;
    request[7] = program;
    request[8] = block;
    request[9] = first;
    return request;
}

TEST(SimUsage, WordsFollowTheDocumentedBits) {
    EXPECT_EQ(dateWord({2026, 12, 7}, 28800), 0x3840D61DU);  // 7 Dec 2026 08:00:00
    EXPECT_EQ(dateWord({2026, 12, 7}, 28803), 0x3840D61DU);  // the unit keeps 4-second steps
    EXPECT_EQ(pumpWord(4, 9, 1000), 0x001F4490U);
    UsageMemory usage;
    recordDose(usage, {2026, 12, 7}, 28800, 4, 9, 1000, false);
    EXPECT_EQ(usage.log, (std::vector<std::uint32_t>{0x001F4490U, 0x3840D61DU}));
    EXPECT_EQ(usage.counters[5][9], (UsageCounter{1, 1000}));
    EXPECT_EQ(usage.counters[0][9], (UsageCounter{1, 1000}));
    // A time-dosed pump counts run times: 0:59:50 + 0:00:50 = 1:00:40.
    recordDose(usage, {2026, 12, 7}, 28800, 4, 2, 0x003B32, true);
    recordDose(usage, {2026, 12, 7}, 28800, 4, 2, 0x000032, true);
    EXPECT_EQ(usage.counters[5][2], (UsageCounter{2, 0x010028}));
}

TEST(SimUsage, CounterBlockTwoCarriesPumpsNineAndTen) {
    LaundryMemory memory;
    memory.usage.counters[5][8] = {0x0102, 0x00030405};
    memory.usage.counters[5][9] = {7, 0x00FFFFFF};
    LaundryUnit unit(memory);
    const auto reply = unit.answer(report(5, 2));
    ASSERT_TRUE(reply);
    Packet expected;
    expected.bytes = {0,    14,   0x15, 0xCD, 0x5B, 0x07, 0,    2,    0x02, 0x01,
                      0x03, 0x00, 0x04, 0x05, 0x07, 0x00, 0xFF, 0x00, 0xFF, 0xFF};
    EXPECT_EQ(*reply, expected);
    EXPECT_EQ(unit.answer(report(21, 0))->id(), PKT_NAK);
    EXPECT_EQ(unit.answer(report(1, 3))->id(), PKT_NAK);
}

TEST(SimUsage, LogIsSentNewestFirstThenZerosAndRestartsOnTheFirstFlag) {
    LaundryMemory memory;
    for (std::uint32_t w = 1; w <= 9; ++w) {
        memory.usage.log.push_back(w << 2);  // oldest first: 4, 8, ... 36
    }
    memory.usage.counters[0][0] = {42, 0};
    LaundryUnit unit(memory);
    Packet first = *unit.answer(report(0, 0, 1));
    EXPECT_EQ(first.u32(2), 36U);
    EXPECT_EQ(first.u32(9), 32U);
    EXPECT_EQ(first.u32(29), 12U);
    EXPECT_EQ(first[6] | first[7] | first[8], 0);
    Packet second = *unit.answer(report(0, 0));
    EXPECT_EQ(second.u32(2), 8U);
    EXPECT_EQ(second.u32(9), 4U);
    EXPECT_EQ(second.u32(13), 0U);
    EXPECT_EQ(unit.answer(report(0, 0))->u32(2), 0U);
    EXPECT_EQ(unit.answer(report(0, 0, 1))->u32(2), 36U);
    // A counter read ends the log read; program 0 block 0 is then the counters again.
    EXPECT_EQ(unit.answer(report(1, 0))->u16(8), 0U);
    EXPECT_EQ(unit.answer(report(0, 0))->u16(8), 42U);
}

TEST(SimUsage, SeedGivesTheSameLogEndingOnTheLastDay) {
    UsagePlan plan;
    plan.seed = 99;
    plan.first = {2026, 2, 27};
    plan.days = 5;
    UsageMemory a;
    UsageMemory b;
    generateUsage(plan, a);
    generateUsage(plan, b);
    EXPECT_EQ(a.log, b.log);
    ASSERT_FALSE(a.log.empty());
    // The last date written is the newest: five days from 27 Feb 2026 end on 3 March.
    const std::uint32_t newest = a.log.back();
    EXPECT_EQ((newest >> 2) & 0x1FU, 3U);
    EXPECT_EQ((newest >> 7) & 0xFU, 3U);
}

TEST(SimUsage, StateFileLoadsAndDumpsTheUsage) {
    LaundryMemory memory;
    applyLaundryState(nlohmann::json::parse(R"({"usage": {
        "log": [5, 4294967294],
        "counters": [{"program": 20, "pump": 9, "cycles": 3, "amount": 70000}]}})"),
                      memory, 0);
    EXPECT_EQ(memory.usage.log, (std::vector<std::uint32_t>{5, 4294967294U}));
    EXPECT_EQ(memory.usage.counters[20][9], (UsageCounter{3, 70000}));
    const auto dumped = laundryStateToJson(memory, 0).at("usage");
    LaundryMemory again;
    applyUsage(nlohmann::json{{"usage", dumped}}, again.usage);
    EXPECT_EQ(again.usage.log, memory.usage.log);
    EXPECT_EQ(again.usage.counters, memory.usage.counters);

    for (const char* bad : {R"({"usage": {"log": [-1]}})", R"({"usage": {"log": 3}})",
                            R"({"usage": {"counters": [{"program": 21}]}})",
                            R"({"usage": {"generate": {"first": "1999-01-01"}}})",
                            R"({"usage": {"generate": {"first": "2026-01-01x"}}})",
                            R"({"usage": {"generate": {"days": 100000}}})"}) {
        LaundryMemory m;
        EXPECT_THROW(applyLaundryState(nlohmann::json::parse(bad), m, 0), StateError) << bad;
    }
}

}  // namespace
}  // namespace qelto::sim
