#include "protocol/unit_writes.h"

#include <gtest/gtest.h>

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

// --- Program data ---------------------------------------------------------------------------

TEST(SetProgData, AProgramWithoutAnEnabledPumpSendsNothing) {
    ScriptedUnit u;
    ProgDataPart data;
    data.programs[4][2].setting = 7;  // a pulse count alone does not make a program used
    ASSERT_TRUE(SetProgData(data, u.channel, 1));
    EXPECT_TRUE(u.sent().empty());
    EXPECT_EQ(u.observer.steps, 20);
}

TEST(SetProgData, SendsOnlyTheHalvesThatCarryPumpsOrAChangedPulseCount) {
    ScriptedUnit u;
    u.path.responder = [](const Packet&) { return std::optional(makeAck()); };
    ProgDataPart data;
    auto& program = data.programs[2];
    for (auto& trigger : program) {
        trigger.setting = 1;  // the default: an erased unit already holds these
    }
    program[0].pumps[1] = {1, 20, 1, 3, 0};  // pump 2: half A only
    program[1].setting = 2;                  // no pumps, not the default: half A alone
    // Trigger 2 and the rest have no pumps and the default pulse count: nothing.
    program[3].pumps[6] = {1, 0x58, 0x02, 0, 0};  // pump 7: half B only
    program[3].pumps[2] = {0, 9, 9, 9, 9};        // disabled, but travels with its half
    ASSERT_TRUE(SetProgData(data, u.channel, 1));

    ProgDataHalf a0{2, 0, 0, 1, {}};
    a0.pumps[1] = program[0].pumps[1];
    ProgDataHalf a1{2, 0, 1, 2, {}};
    ProgDataHalf b3{2, 1, 3, 1, {}};
    b3.pumps[1] = program[3].pumps[6];
    ASSERT_EQ(u.sent().size(), 3u);
    EXPECT_EQ(u.sent()[0], makeProgDataHalf(a0));
    EXPECT_EQ(u.sent()[1], makeProgDataHalf(a1));
    EXPECT_EQ(u.sent()[2], makeProgDataHalf(b3));
    EXPECT_EQ(u.sent()[0].id(), progDataId(2, 0));
    EXPECT_EQ(u.sent()[2].id(), progDataId(2, 1));
}

TEST(SetProgData, BothHalvesGoWhenPumpsOfBothAreEnabled) {
    ScriptedUnit u;
    u.path.responder = [](const Packet&) { return std::optional(makeAck()); };
    ProgDataPart data;
    data.programs[0][9].pumps[0].enabled = 1;
    data.programs[0][9].pumps[9].enabled = 1;
    ASSERT_TRUE(SetProgData(data, u.channel, 0));
    ASSERT_EQ(u.sent().size(), 2u);
    EXPECT_EQ(u.sent()[0][6], 9);
    EXPECT_EQ(u.sent()[1][6], 9);
    EXPECT_EQ(u.sent()[1][8 + 5 * 4], 1);
}

TEST(SetProgData, StopsAtTheFirstRefusal) {
    ScriptedUnit u;
    ProgDataPart data;
    data.programs[0][0].pumps[0].enabled = 1;
    data.programs[0][1].pumps[0].enabled = 1;
    u.reply(makeNak());
    EXPECT_FALSE(SetProgData(data, u.channel, 0));
    EXPECT_EQ(u.sent().size(), 1u);
    EXPECT_EQ(u.observer.ended, 1);
}

TEST(DefaultPulseCount, OnePulseFromSoftware205On) {
    const struct {
        char major, minor, sub;
        std::uint8_t expected;
    } cases[] = {{'2', '0', '4', 0},
                 {'2', '0', '5', 1},
                 {'2', '1', '0', 1},
                 {'3', '0', '0', 1},
                 {'1', '9', '9', 0}};
    for (const auto& c : cases) {
        ScriptedUnit u;
        IdentityPart identity;
        u.reply(makeAck(test::identityWithVersion(c.major, c.minor, c.sub)));
        EXPECT_EQ(DefaultPulseCount(identity, u.channel), c.expected)
            << c.major << c.minor << c.sub;
    }
}

TEST(DefaultPulseCount, IsZeroWhenThePollFails) {
    ScriptedUnit u;
    IdentityPart identity;
    u.reply(makeNak(test::identityWithVersion('3', '0', '0')));
    EXPECT_EQ(DefaultPulseCount(identity, u.channel), 0);
}

// --- Calibration ----------------------------------------------------------------------------

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

    ASSERT_EQ(u.sent().size(), 32u);
    PumpCalGroup group0{0, {}};
    PumpCalGroup group1{1, {}};
    for (std::size_t j = 0; j < kPumpsPerHalf; ++j) {
        group0.pumps[j] = {static_cast<std::uint16_t>(100 * (j + 1)), 15, 3, 19};
        group1.pumps[j] = {static_cast<std::uint16_t>(100 * (j + 6)), 15, 3, 19};
    }
    EXPECT_EQ(u.sent().front(), makePumpCal(group0));
    for (std::size_t i = 1; i <= 30; ++i) {
        EXPECT_EQ(u.sent()[i], makePoll(CMD_NONE));
    }
    EXPECT_EQ(u.sent().back(), makePumpCal(group1));
    EXPECT_EQ(sleeps, std::vector<std::chrono::milliseconds>(30, std::chrono::milliseconds(100)));
}

TEST(SetPumpCal, ARefusedFirstGroupStopsBeforeThePolls) {
    ScriptedUnit u;
    u.reply(makeNak());
    EXPECT_FALSE(
        SetPumpCal(CalibrationPart{}, u.channel, march15th2019, [](std::chrono::milliseconds) {}));
    EXPECT_EQ(u.sent().size(), 1u);
}

TEST(SetPumpCal, AYearOutsideTheCenturyIsSentAsZero) {
    ScriptedUnit u;
    u.path.responder = [](const Packet&) { return std::optional(makeAck()); };
    const LocalClock in2099 = [] {
        std::tm t = march15th2019();
        t.tm_year = 199;
        return t;
    };
    ASSERT_TRUE(SetPumpCal(CalibrationPart{}, u.channel, in2099, [](std::chrono::milliseconds) {}));
    EXPECT_EQ(parsePumpCal(u.sent().front())->pumps[0].year, 0);
}

// --- Texts ----------------------------------------------------------------------------------

TEST(SetComments, ASixtyCharacterCommentGoesAsThreeBlocks) {
    ScriptedUnit u;
    u.path.responder = [](const Packet&) { return std::optional(makeAck()); };
    const std::string text = std::string(25, 'a') + std::string(25, 'b') + std::string(10, 'c');
    ASSERT_TRUE(SetComments(commentsFromText(text), u.channel));
    ASSERT_EQ(u.sent().size(), 3u);
    EXPECT_EQ(u.sent()[0], makeComment({std::string(25, 'a'), 0}));
    EXPECT_EQ(u.sent()[2], makeComment({std::string(10, 'c'), 0}));
    EXPECT_EQ(u.sent()[2][6], 0) << "the unit keeps blocks in arrival order";
}

TEST(SetUnitSerialNumber, AnEmptyTextSendsNothingAndSucceeds) {
    ScriptedUnit u;
    EXPECT_TRUE(SetUnitSerialNumber("", u.channel));
    EXPECT_TRUE(u.sent().empty());

    u.reply(makeAck());
    EXPECT_TRUE(SetUnitSerialNumber("0123456789ABC", u.channel));
    EXPECT_EQ(u.sent()[0], makeSerialNumber({kUnitSerialNumber, "0123456789"}));
}

TEST(SetUnitTime, SendsTheLocalTimeAsFourteenDigits) {
    ScriptedUnit u;
    u.reply(makeAck());
    ASSERT_TRUE(SetUnitTime(u.channel, march15th2019));
    EXPECT_EQ(u.sent()[0], makeUnitTime("09410715032019"));

    const LocalClock broken = [] {
        std::tm t = march15th2019();
        t.tm_mon = 12;
        return t;
    };
    EXPECT_FALSE(SetUnitTime(u.channel, broken));
    EXPECT_EQ(u.sent().size(), 1u);
}

TEST(SetCustName, StopsAfterARefusedFirstLine) {
    ScriptedUnit u;
    CustNamePart lines;
    setSlotText(lines.lines[0], "A very long customer name");
    u.reply(makeNak());
    EXPECT_FALSE(SetCustName(lines, u.channel));
    ASSERT_EQ(u.sent().size(), 1u);
    EXPECT_EQ(u.sent()[0], makeCustomerLine(0, "A very long cust"));
}

// --- Settings and commands ------------------------------------------------------------------

TEST(SetGlobals, SendsBothBlocksWithTheInformationOnlyBytesZeroed) {
    ScriptedUnit u;
    u.replyAck(2);
    GlobalsPart globals;
    globals.block1.unitSerial = 5;
    globals.block1.bytes26to28 = {1, 2, 3};
    globals.block1.pins = {11, 22, 33};
    globals.block2.unitSerial = 5;
    globals.block2.words18to21 = {7, 8};
    globals.block2.flushValveTime = 90;
    ASSERT_TRUE(SetGlobals(globals, u.channel));
    GlobalBlock1 block1;
    block1.pins = {11, 22, 33};
    GlobalBlock2 block2;
    block2.flushValveTime = 90;
    ASSERT_EQ(u.sent().size(), 2u);
    EXPECT_EQ(u.sent()[0], makeGlobalBlock1(block1));
    EXPECT_EQ(u.sent()[1], makeGlobalBlock2(block2));
}

TEST(SetResetToConfig, SendsTheOptionAsItsKind) {
    ScriptedUnit u;
    u.replyAck();
    ASSERT_TRUE(SetResetToConfig({5, 3, 9}, u.channel));
    EXPECT_EQ(u.sent()[0], makeResetTo({kResetToChosenProgram, 4, 0}));
}

TEST(EraseNames, ARefusalCountsAsErased) {
    ScriptedUnit u;
    u.reply(makeNak());
    EXPECT_TRUE(EraseNames(u.channel));
    u.reply(makeNak());
    EXPECT_FALSE(EraseFormula(u.channel));
    EXPECT_EQ(u.sent()[0], makePoll(CMD_ERASE_NAMES));
    EXPECT_EQ(u.sent()[1], makePoll(CMD_ERASE_FORMULA));
}

TEST(EraseSettingsMemory, IdentifiesTheUnitFirst) {
    ScriptedUnit u;
    IdentityPart identity;
    u.reply(makeAck(test::identityWithVersion('2', '0', '5')));
    u.replyAck();
    ASSERT_TRUE(EraseSettingsMemory(identity, u.channel));
    ASSERT_EQ(u.sent().size(), 2u);
    EXPECT_EQ(u.sent()[0], makeIdentify());
    EXPECT_TRUE(isEraseEepromRequest(u.sent()[1]));
    EXPECT_EQ(identity.unit.serial, 42u);

    ScriptedUnit v;
    v.reply(makeNak());
    EXPECT_FALSE(EraseSettingsMemory(identity, v.channel));
    EXPECT_EQ(v.sent().size(), 1u) << "no erase for a unit that will not say who it is";
}

TEST(Commands, ResetsAndLockSendTheirPolls) {
    ScriptedUnit u;
    u.replyAck(3);
    EXPECT_TRUE(ResetCounters(u.channel));
    EXPECT_TRUE(ResetWashCounts(u.channel));
    EXPECT_TRUE(LockUnit(u.channel));
    EXPECT_EQ(u.sent()[0], makePoll(CMD_RESET, 0));
    EXPECT_EQ(u.sent()[1], makePoll(CMD_RESET, 1));
    EXPECT_EQ(u.sent()[2], makePoll(CMD_LOCK));
}

TEST(PumpCommand, ARefusalCountsAsDone) {
    ScriptedUnit u;
    u.reply(makeNak());
    EXPECT_TRUE(PumpCommand({2, 1, 60, 80}, u.channel));
    EXPECT_EQ(u.sent()[0], makePumpOps({2, 1, 60, 80}));
    EXPECT_FALSE(PumpCommand({2, 1, 0, 0}, u.channel)) << "no answer at all is a failure";
}

}  // namespace
}  // namespace qelto::protocol
