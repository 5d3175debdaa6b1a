// Every group of settings written with its Set operation and read back with its Get from the
// simulated unit, through the real serial code: what comes back must be what went out.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/unit_types.h"
#include "protocol/unit_operations.h"
#include "sim_link.h"

namespace qelto {
namespace {

using namespace protocol;

// A connected, unlocked simulator with a channel to run operations on.
struct UnlockedUnit {
    test::SimLink sim;
    UnitChannel channel{*sim.link};
    CommsData data;

    explicit UnlockedUnit(const std::vector<std::string>& options = {}) : sim(options) {
        data.connection.rememberedPin = 1234;
        if (!Unlock(data, channel, {})) {
            throw std::runtime_error("the simulator refused the unlock");
        }
    }
};

std::tm march15th2019() {
    std::tm t{};
    t.tm_year = 119;
    t.tm_mon = 2;
    t.tm_mday = 15;
    t.tm_hour = 9;
    t.tm_min = 41;
    return t;
}

void noPause(std::chrono::milliseconds) {}

TEST(OperationsAgainstSimulator, UnlockReportsTheUnitAndARefusedPinFails) {
    UnlockedUnit u;
    EXPECT_EQ(u.data.identity.unit.serial, 123456789u);
    EXPECT_EQ(u.data.identity.unit.unitTypeIndex, 3);
    EXPECT_TRUE(LockUnit(u.channel));
    EXPECT_FALSE(EraseFormula(u.channel)) << "a locked unit refuses writes";

    CommsData wrong;
    wrong.connection.rememberedPin = 1111;
    EXPECT_FALSE(Unlock(wrong, u.channel, {}));
    EXPECT_FALSE(u.channel.cancelled());
}

TEST(OperationsAgainstSimulator, GlobalsComeBackAsTheyWereSet) {
    UnlockedUnit u;
    GlobalsPart sent;
    sent.block1.unitType = 3;  // the unit keeps its own type
    sent.block1.language = 2;
    sent.block1.pins = {1111, 2222, 3333};
    sent.block1.accessCode = 4;
    sent.block1.auxTime = 75;
    sent.block1.resetDelayTime = 90;
    sent.block1.resetDelayLastInput = 1;
    sent.block1.optionFlag1 = true;
    sent.block1.viewMode = 2;
    sent.block1.relayMode = 1;
    sent.block1.safetyStopMode = 1;
    sent.block2.pumpSpeed = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    sent.block2.flushValveTime = 45;
    sent.block2.pumpSpeedRange = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1};
    ASSERT_TRUE(SetGlobals(sent, u.channel));

    GlobalsPart read;
    ASSERT_TRUE(GetGlobals(read, u.channel));
    read.block1.unitSerial = 0;
    read.block2.unitSerial = 0;
    EXPECT_EQ(read.block1, sent.block1);
    EXPECT_EQ(read.block2, sent.block2);
    EXPECT_EQ(read.pumpCount, model::unitPumpCount(3));
}

TEST(OperationsAgainstSimulator, CalibrationComesBackDatedToday) {
    UnlockedUnit u;
    CalibrationPart sent;
    for (std::size_t i = 0; i < kCommsPumps; ++i) {
        sent.pumps[i].volume = static_cast<std::uint16_t>(i == 3 ? 0 : 150 * (i + 1));
    }
    ASSERT_TRUE(SetPumpCal(sent, u.channel, march15th2019, noPause));
    CalibrationPart read;
    ASSERT_TRUE(GetPumpCal(read, u.channel));
    for (std::size_t i = 0; i < kCommsPumps; ++i) {
        EXPECT_EQ(read.pumps[i], (PumpCalEntry{sent.pumps[i].volume, 15, 3, 19})) << "pump " << i;
    }
}

TEST(OperationsAgainstSimulator, ProgramDataComesBackForEveryProgrammedTrigger) {
    for (const char* version : {"1.3.0", "2.0.5"}) {
        UnlockedUnit u({"--version", version});
        ASSERT_TRUE(EraseFormula(u.channel));
        const std::uint8_t pulses = DefaultPulseCount(u.data.identity, u.channel);
        EXPECT_EQ(pulses, std::string_view(version) == "2.0.5" ? 1 : 0);

        ProgDataPart sent;
        for (auto& program : sent.programs) {
            for (auto& trigger : program) {
                trigger.setting = pulses;
            }
        }
        sent.programs[0][0].pumps[0] = {1, 30, 1, 5, 0};
        sent.programs[0][0].pumps[9] = {1, 0x58, 0x02, 0, 2};
        sent.programs[0][4].setting = 3;  // no pumps, but not the erased pulse count
        sent.programs[12][9].pumps[6] = {1, 0, 2, 10, 0};
        sent.programs[12][9].pumps[7] = {0, 5, 5, 5, 5};  // disabled: comes back disabled
        ASSERT_TRUE(SetProgData(sent, u.channel, pulses));

        CommsData read;
        ASSERT_TRUE(GetProgdata(read, u.channel));
        ProgDataPart expected = sent;
        // A trigger with no pump and the erased pulse count is neither sent nor read back.
        for (auto& program : expected.programs) {
            for (auto& trigger : program) {
                const bool anyPump = std::any_of(trigger.pumps.begin(), trigger.pumps.end(),
                                                 [](const ProgPump& pump) { return pump.enabled; });
                if (!anyPump && trigger.setting == pulses) {
                    trigger = TriggerRecord{};
                }
            }
        }
        EXPECT_EQ(read.progData, expected) << version;
        EXPECT_EQ(read.progData.programs[0][4].setting, 3);
        EXPECT_EQ(read.progData.programs[0][0].pumps[9].dose16(), 600);
    }
}

TEST(OperationsAgainstSimulator, NamesCustomerLinesAndCommentsComeBackAsSet) {
    UnlockedUnit u;
    ASSERT_TRUE(EraseNames(u.channel));
    ProgNamesPart progNames;
    for (std::size_t i = 0; i < kCommsPrograms; ++i) {
        setTerminatedText(progNames.names[i], "Program number " + std::to_string(i) + " long name");
    }
    PumpNamesPart pumpNames;
    setTerminatedText(pumpNames.names[0], "Detergent");
    setTerminatedText(pumpNames.names[9], "Softener \xe9t\xe9");  // Latin-1 travels as it is
    CustNamePart custName;
    setTerminatedText(custName.lines[0], "Hotel Miramar");
    setTerminatedText(custName.lines[1], "Basement laundry");
    const std::string comment = std::string(25, 'a') + std::string(25, 'b') + std::string(10, 'c');
    ASSERT_TRUE(SetProgName(progNames, u.channel));
    ASSERT_TRUE(SetPumpName(pumpNames, u.channel));
    ASSERT_TRUE(SetCustName(custName, u.channel));
    ASSERT_TRUE(SetComments(commentsFromText(comment), u.channel));

    CommsData read;
    ASSERT_TRUE(GetProgName(read.progNames, u.channel));
    ASSERT_TRUE(GetPumpName(read.pumpNames, u.channel));
    ASSERT_TRUE(GetCustname(read.custName, u.channel));
    ASSERT_TRUE(GetComments(read.comments, u.channel));
    EXPECT_EQ(read.progNames, progNames);
    EXPECT_EQ(read.pumpNames, pumpNames);
    EXPECT_EQ(read.custName, custName);
    EXPECT_EQ(read.comments, commentsFromText(comment));

    ASSERT_TRUE(EraseNames(u.channel));
    ASSERT_TRUE(GetComments(read.comments, u.channel));
    EXPECT_EQ(read.comments.count, 0);
}

TEST(OperationsAgainstSimulator, SmallSettingsComeBackAsSet) {
    UnlockedUnit u;
    ASSERT_TRUE(SetUnitDescription("Washer 3, floor 2", u.channel));
    ASSERT_TRUE(SetResetToConfig({6, 1, 0}, u.channel));
    ASSERT_TRUE(SetAutoFSConfig({1, 125, 3}, u.channel));
    ASSERT_TRUE(SetUnitTime(u.channel, march15th2019));

    CommsData read;
    ASSERT_TRUE(GetUnitDescription(read.unitDescription, u.channel));
    ASSERT_TRUE(GetResetToConfig(read.resetTo, u.channel));
    ASSERT_TRUE(GetAutoFSConfig(read.autoFs, u.channel));
    ASSERT_TRUE(GetUnitTime(read.unitTime, u.channel));
    EXPECT_EQ(slotText(read.unitDescription), "Washer 3, floor 2");
    EXPECT_EQ(read.resetTo.resetOption, 6);
    EXPECT_EQ(read.autoFs, (AutoFs{1, 125, 3}));
    // The unit's clock runs on from the time it was given; the date does not change in a test.
    EXPECT_EQ(slotText(read.unitTime).substr(6), "15032019");
}

TEST(OperationsAgainstSimulator, EraseSettingsMemoryRestoresTheFactoryGlobals) {
    UnlockedUnit u;
    GlobalsPart before;
    ASSERT_TRUE(GetGlobals(before, u.channel));
    GlobalsPart changed = before;
    changed.block1.pins = {1, 2, 3};
    ASSERT_TRUE(SetGlobals(changed, u.channel));
    ASSERT_TRUE(EraseSettingsMemory(u.data.identity, u.channel));
    GlobalsPart after;
    ASSERT_TRUE(GetGlobals(after, u.channel));
    EXPECT_EQ(after.block1.pins, before.block1.pins);
}

}  // namespace
}  // namespace qelto
