// The writes and commands against a scripted unit: the packets each sends, in order, and how it
// judges the replies. What the unit keeps of them, and the plain commands, are checked against
// the simulated unit (tests/integration, tests/comms).
#include "protocol/unit_writes.h"

#include <gtest/gtest.h>

#include <functional>

#include "protocol/unit_reads.h"
#include "scripted_unit.h"

namespace qelto::protocol {
namespace {

using test::ScriptedUnit;

std::tm march15th2019() {
    std::tm t{};
    t.tm_year = 119;
    t.tm_mon = 2;
    t.tm_mday = 15;
    t.tm_hour = 9;
    t.tm_min = 41;
    t.tm_sec = 7;
    return t;
}

TEST(UnitWrites, EachSendsItsPacketsAndJudgesTheReplies) {
    const std::optional<Packet> ack = makeAck();
    const std::optional<Packet> nak = makeNak();
    const std::optional<Packet> identity = makeAck(test::identityWithVersion('2', '0', '5'));
    GlobalsPart globals;
    globals.block1.unitSerial = 5;
    globals.block1.bytes26to28 = {1, 2, 3};
    globals.block1.pins = {11, 22, 33};
    globals.block2.unitSerial = 5;
    globals.block2.words18to21 = {7, 8};
    globals.block2.flushValveTime = 90;
    GlobalBlock1 block1;  // the information-only bytes go out as zeros
    block1.pins = {11, 22, 33};
    GlobalBlock2 block2;
    block2.flushValveTime = 90;
    const LocalClock impossibleClock = [] {
        std::tm t = march15th2019();
        t.tm_mon = 12;
        return t;
    };
    IdentityPart found;

    const struct {
        const char* name;
        std::vector<std::optional<Packet>> replies;
        std::function<bool(UnitChannel&)> operation;
        bool succeeds;
        std::vector<Packet> sent;
    } rows[] = {
        {"a refused erase of names counts as erased",
         {nak},
         EraseNames,
         true,
         {makePoll(CMD_ERASE_NAMES)}},
        {"a refused pump run counts as done",
         {nak},
         [](UnitChannel& c) {
             return PumpCommand({2, 1, 60, 80}, c);
         },
         true,
         {makePumpOps({2, 1, 60, 80})}},
        {"the radio settings get one attempt",
         {},
         [](UnitChannel& c) {
             RfSettingsReply settings;
             return GetRfSettings(7, settings, c);
         },
         false,
         {makeRfSettingsRequest({7})}},
        {"an empty serial number sends nothing",
         {},
         [](UnitChannel& c) { return SetUnitSerialNumber("", c); },
         true,
         {}},
        {"an impossible clock sends nothing",
         {},
         [&](UnitChannel& c) { return SetUnitTime(c, impossibleClock); },
         false,
         {}},
        {"both global blocks",
         {ack, ack},
         [&](UnitChannel& c) { return SetGlobals(globals, c); },
         true,
         {makeGlobalBlock1(block1), makeGlobalBlock2(block2)}},
        {"the settings memory is erased once the unit says who it is",
         {identity, ack},
         [&](UnitChannel& c) { return EraseSettingsMemory(found, c); },
         true,
         {makeIdentify(), makeEraseEeprom()}},
        {"no erase for a unit that will not say who it is",
         {nak},
         [&](UnitChannel& c) { return EraseSettingsMemory(found, c); },
         false,
         {makeIdentify()}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedUnit u;
        u.path.replies.assign(row.replies.begin(), row.replies.end());
        EXPECT_EQ(row.operation(u.channel), row.succeeds);
        EXPECT_EQ(u.sent(), row.sent);
    }
    EXPECT_EQ(found.unit.serial, 42u);
}

// A half goes when it carries an enabled pump (a disabled one travels with it) or, for half A, a
// pulse count other than the one an erased unit holds.
TEST(SetProgData, SendsOnlyTheHalvesThatCarryPumpsOrAChangedPulseCount) {
    ScriptedUnit u;
    u.path.responder = [](const Packet&) { return std::optional(makeAck()); };
    ProgDataPart data;
    auto& program = data.programs[2];
    for (auto& trigger : program) {
        trigger.setting = 1;
    }
    program[0].pumps[1] = {1, 20, 1, 3, 0};       // pump 2: half A only
    program[1].setting = 2;                       // no pumps, not the default: half A alone
    program[3].pumps[6] = {1, 0x58, 0x02, 0, 0};  // pump 7: half B only
    program[3].pumps[2] = {0, 9, 9, 9, 9};        // disabled: its half does not go for it
    program[9].pumps[0].enabled = 1;              // pumps of both halves: both go
    program[9].pumps[9].enabled = 1;
    data.programs[4][2].setting = 7;  // another program's pulse count alone sends nothing
    ASSERT_TRUE(SetProgData(data, u.channel, 1));

    ProgDataHalf a0{2, 0, 0, 1, {}};
    a0.pumps[1] = program[0].pumps[1];
    ProgDataHalf b3{2, 1, 3, 1, {}};
    b3.pumps[1] = program[3].pumps[6];
    ProgDataHalf a9{2, 0, 9, 1, {}};
    a9.pumps[0].enabled = 1;
    ProgDataHalf b9{2, 1, 9, 1, {}};
    b9.pumps[4].enabled = 1;
    EXPECT_EQ(u.sent(), (std::vector<Packet>{
                            makeProgDataHalf(a0), makeProgDataHalf({2, 0, 1, 2, {}}),
                            makeProgDataHalf(b3), makeProgDataHalf(a9), makeProgDataHalf(b9)}));
    EXPECT_EQ(u.observer.steps, 20);
    EXPECT_EQ(u.observer.ended, 1);
}

TEST(DefaultPulseCount, OnePulseFromSoftware205OnAndNoneWhenThePollFails) {
    const struct {
        Packet reply;
        std::uint8_t expected;
    } rows[] = {{makeAck(test::identityWithVersion('2', '0', '4')), 0},
                {makeAck(test::identityWithVersion('2', '0', '5')), 1},
                {makeAck(test::identityWithVersion('2', '1', '0')), 1},
                {makeAck(test::identityWithVersion('3', '0', '0')), 1},
                {makeAck(test::identityWithVersion('1', '9', '9')), 0},
                {makeNak(test::identityWithVersion('3', '0', '0')), 0}};
    for (const auto& row : rows) {
        ScriptedUnit u;
        IdentityPart identity;
        u.reply(row.reply);
        EXPECT_EQ(DefaultPulseCount(identity, u.channel), row.expected)
            << row.reply[11] << row.reply[12] << row.reply[13];
    }
}

TEST(SetPumpCal, DatesEveryPumpTodayAndPollsThirtyTimesBetweenTheGroups) {
    ScriptedUnit u;
    u.path.responder = [](const Packet&) { return std::optional(makeAck()); };
    CalibrationPart cal;
    for (std::size_t i = 0; i < kCommsPumps; ++i) {
        cal.pumps[i] = {static_cast<std::uint16_t>(100 * (i + 1)), 1, 1, 1};
    }
    std::vector<std::chrono::milliseconds> sleeps;
    ASSERT_TRUE(SetPumpCal(cal, u.channel, march15th2019,
                           [&](std::chrono::milliseconds d) { sleeps.push_back(d); }));

    PumpCalGroup group0{0, {}};
    PumpCalGroup group1{1, {}};
    for (std::size_t j = 0; j < kPumpsPerHalf; ++j) {
        group0.pumps[j] = {static_cast<std::uint16_t>(100 * (j + 1)), 15, 3, 19};
        group1.pumps[j] = {static_cast<std::uint16_t>(100 * (j + 6)), 15, 3, 19};
    }
    std::vector<Packet> expected(32, makePoll(CMD_NONE));
    expected.front() = makePumpCal(group0);
    expected.back() = makePumpCal(group1);
    EXPECT_EQ(u.sent(), expected);
    EXPECT_EQ(sleeps, std::vector<std::chrono::milliseconds>(30, std::chrono::milliseconds(100)));
}

}  // namespace
}  // namespace qelto::protocol
