// The writes and commands against a scripted unit: the packets each sends, in order, and how it
// judges the replies. What the unit keeps of them, the plain commands, which program data halves a
// write sends and the calibration's dates and keep-alive polls are checked against the simulated
// unit (tests/integration, tests/comms).
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
             return pumpCommand({2, 1, 60, 80}, c);
         },
         true,
         {makePumpOps({2, 1, 60, 80})}},
        {"the radio settings get one attempt",
         {},
         [](UnitChannel& c) {
             RfSettingsReply settings;
             return getRfSettings(7, settings, c);
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
         [&](UnitChannel& c) { return eraseSettingsMemory(found, c); },
         true,
         {makeIdentify(), makeEraseEeprom()}},
        {"no erase for a unit that will not say who it is",
         {nak},
         [&](UnitChannel& c) { return eraseSettingsMemory(found, c); },
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

TEST(defaultPulseCount, OnePulseFromSoftware205OnAndNoneWhenThePollFails) {
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
        EXPECT_EQ(defaultPulseCount(identity, u.channel), row.expected)
            << row.reply[11] << row.reply[12] << row.reply[13];
    }
}

}  // namespace
}  // namespace qelto::protocol
