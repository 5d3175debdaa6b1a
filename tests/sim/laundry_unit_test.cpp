#include "sim/laundry_unit.h"

#include <gtest/gtest.h>

#include "sim/unit_memory.h"
#include "sim_test_helpers.h"

namespace qelto::sim {
namespace {

using namespace protocol;
using namespace test;

constexpr std::int64_t kNoon = 1'700'000'000;

class LaundryUnitTest : public ::testing::Test {
  protected:
    LaundryUnit unit{factoryMemory(Identity{}, 1234), [this] { return now; }};
    std::int64_t now = kNoon;

    void unlock() { ASSERT_EQ(replyId(unit, unlockRequest(1234)), PKT_ACK); }
    Packet get(std::uint8_t command, std::uint8_t byte7 = 0, std::uint8_t byte8 = 0) {
        const auto reply = unit.answer(poll(command, byte7, byte8));
        EXPECT_TRUE(reply.has_value());
        return reply.value_or(Packet{});
    }
};

TEST_F(LaundryUnitTest, IdentityCarriesSerialProductTypeVersionAndProcessorSerial) {
    const auto reply = unit.answer(poll(CMD_NONE));
    ASSERT_TRUE(reply);
    Packet expected;
    // 123456789 = 0x075BCD15, low byte first; processor serial 0x00C0FFEE likewise.
    expected.bytes = {0, 0x02, 0x15, 0xCD, 0x5B, 0x07, 0x01, 0, 0, 0x03, 0, '1', '3', '0', 0, 0, 0,
                      0, 0,    0xEE, 0xFF, 0xC0, 0x00, 0,    0, 0, 0,    0, 0,   0,   0,   0, 0};
    EXPECT_EQ(*reply, expected);
    EXPECT_EQ(replyId(unit, packet(PKT_HALVERCOTT)), PKT_ACK);
}

TEST_F(LaundryUnitTest, WrongPinIsRefusedAndTheUnitStaysLocked) {
    EXPECT_EQ(replyId(unit, unlockRequest(4321)), PKT_NAK);
    EXPECT_TRUE(unit.locked());
    EXPECT_EQ(replyId(unit, poll(CMD_ERASE_FORMULA)), PKT_NAK);
    unlock();
    EXPECT_FALSE(unit.locked());
    EXPECT_EQ(replyId(unit, poll(CMD_ERASE_FORMULA)), PKT_ACK);
    EXPECT_EQ(replyId(unit, poll(CMD_LOCK)), PKT_ACK);
    EXPECT_TRUE(unit.locked());
}

TEST_F(LaundryUnitTest, LockedUnitIsReadButNotChanged) {
    unit.memory().description = "Ward 7";
    EXPECT_EQ(replyId(unit, poll(CMD_NONE)), PKT_ACK);
    EXPECT_EQ(replyId(unit, poll(CMD_GET_UNIT_DESC)), PKT_UNIT_DESC);
    EXPECT_EQ(replyId(unit, poll(CMD_GET_PUMPCAL)), PKT_PUMPCAL);
    EXPECT_EQ(replyId(unit, poll(CMD_GET_EN_PROGS)), PKT_EN_PROGS);
    EXPECT_EQ(replyId(unit, poll(CMD_GET_UNIT_TIME)), PKT_UNIT_TIME);
    for (const std::uint8_t command : {CMD_ERASE_FORMULA, CMD_ERASE_NAMES, CMD_RESET}) {
        EXPECT_EQ(replyId(unit, poll(command)), PKT_NAK) << int(command);
    }
    EXPECT_EQ(replyId(unit, packet(PKT_PROGNAME, {{6, 0}, {7, 'X'}})), PKT_NAK);
    EXPECT_EQ(unit.memory().programNames[0], "");
    Packet erase = packet(PKT_ERASE_EEPROM);
    erase.setU32(6, kEraseEepromKey);
    EXPECT_EQ(replyId(unit, erase), PKT_NAK);
    EXPECT_EQ(unit.memory().description, "Ward 7");
}

TEST_F(LaundryUnitTest, GlobalsBlocksReadBackEveryByteWritten) {
    unlock();
    for (const std::uint8_t id : {PKT_GLOBAL1, PKT_GLOBAL2}) {
        Packet set = packet(id);
        const std::size_t first = id == PKT_GLOBAL1 ? 9 : 6;
        const std::size_t last = id == PKT_GLOBAL1 ? 32 : 31;
        for (std::size_t i = first; i <= last; ++i) {
            set[i] = static_cast<std::uint8_t>(0x40 + i);
        }
        ASSERT_EQ(replyId(unit, set), PKT_ACK);
        const Packet back = get(CMD_GET_GLOBAL, id == PKT_GLOBAL1 ? 0 : 1);
        EXPECT_EQ(back.id(), id);
        for (std::size_t i = first; i <= last; ++i) {
            EXPECT_EQ(back[i], set[i]) << "byte " << i;
        }
        EXPECT_EQ(back.u32(2), 123456789u);  // lets a PC re-align a rotated reply
    }
    EXPECT_EQ(unit.memory().globals.resetDelay, 0x5655);  // bytes 21..22, low first
    EXPECT_EQ(unit.memory().identity.unitType, 0x49);     // the unit type travels in block 1
}

TEST_F(LaundryUnitTest, CalibrationGroupsReadBackAndAThirdGroupIsRefused) {
    unlock();
    Packet set = packet(PKT_PUMPCAL, {{6, 1}, {9, 15}, {10, 3}, {11, 19}});
    set.setU16(7, 600);
    ASSERT_EQ(replyId(unit, set), PKT_ACK);
    EXPECT_EQ(unit.memory().calibration[5], (PumpCalibration{600, 15, 3, 19}));
    EXPECT_EQ(get(CMD_GET_PUMPCAL, 1).bytes, ([&] {
                  Packet p = set;
                  p.setU32(2, 123456789);
                  return p.bytes;
              }()));
    EXPECT_EQ(replyId(unit, packet(PKT_PUMPCAL, {{6, 2}})), PKT_NAK);
    EXPECT_EQ(replyId(unit, poll(CMD_GET_PUMPCAL, 2)), PKT_NAK);
}

TEST_F(LaundryUnitTest, ProgramDataHalvesAreStoredPerTriggerAndErasedByEraseFormula) {
    unlock();
    // Program 3, half B (pumps 6..10), trigger 9: pump 7 enabled, run 0:45, delay 1:05.
    const std::uint8_t id = progDataId(3, 1);
    const Packet set = packet(id, {{6, 9}, {7, 2}, {13, 1}, {14, 45}, {15, 0}, {16, 5}, {17, 1}});
    ASSERT_EQ(replyId(unit, set), PKT_ACK);
    const PumpStep& step = unit.memory().programs[3][9].pumps[6];
    EXPECT_EQ(step, (PumpStep{1, {45, 0}, 5, 1}));
    const Packet back = get(CMD_GET_PROGDATA, id, 9);
    EXPECT_EQ(back.id(), id);
    for (std::size_t i = 6; i <= 32; ++i) {
        EXPECT_EQ(back[i], set[i]) << "byte " << i;
    }
    EXPECT_EQ(replyId(unit, poll(CMD_GET_PROGDATA, id, 10)), PKT_NAK);
    EXPECT_EQ(replyId(unit, packet(progDataId(20, 0), {{6, 0}})), PKT_NAK);

    ASSERT_EQ(replyId(unit, poll(CMD_ERASE_FORMULA)), PKT_ACK);
    EXPECT_EQ(unit.memory().programs[3][9], TriggerData{});
}

TEST_F(LaundryUnitTest, EnabledTriggerMapFollowsTheProgramData) {
    unlock();
    ASSERT_EQ(replyId(unit, packet(progDataId(0, 0), {{6, 2}, {8, 1}})), PKT_ACK);
    ASSERT_EQ(replyId(unit, packet(progDataId(5, 1), {{6, 8}, {28, 1}})), PKT_ACK);
    // A trigger with no pump enabled counts when its pulse count is not the erased one.
    ASSERT_EQ(replyId(unit, packet(progDataId(19, 0), {{6, 9}, {7, 3}})), PKT_ACK);
    const Packet map = get(CMD_GET_EN_PROGS);
    Packet expected = packet(PKT_EN_PROGS);
    expected.setU32(2, 123456789);
    expected[6 + 0] = 0x04;   // program 1, trigger 3
    expected[26 + 1] = 0x04;  // program 6 (second in its byte), trigger 9
    expected[26 + 4] = 0x80;  // program 20 (fourth in its byte), trigger 10
    EXPECT_EQ(map, expected);
}

TEST_F(LaundryUnitTest, ErasedTriggersCountOnePulseFromSoftware205) {
    EXPECT_EQ(erasedTriggerSetting(Identity{.version = {'2', '0', '4'}}), 0);
    EXPECT_EQ(erasedTriggerSetting(Identity{.version = {'2', '0', '5'}}), 1);
    EXPECT_EQ(erasedTriggerSetting(Identity{.version = {'2', '1', '0'}}), 1);
    EXPECT_EQ(erasedTriggerSetting(Identity{.version = {'3', '0', '0'}}), 1);
    LaundryUnit newer(factoryMemory(Identity{.version = {'2', '0', '5'}}, 1));
    EXPECT_EQ(newer.memory().programs[7][7].setting, 1);
    EXPECT_FALSE(triggerProgrammed(newer.memory(), 7, 7));
}

TEST_F(LaundryUnitTest, NamesAndCustomerLinesReadBackAndOutOfRangeIndexesAreRefused) {
    unlock();
    Packet name = packet(PKT_PROGNAME, {{6, 19}});
    for (std::size_t i = 7; i <= 32; ++i) {
        name[i] = 'A';  // 26 characters sent; a program name holds 25
    }
    ASSERT_EQ(replyId(unit, name), PKT_ACK);
    EXPECT_EQ(unit.memory().programNames[19], std::string(25, 'A'));
    const Packet back = get(CMD_GET_PROGNAME, 19);
    EXPECT_EQ(back[6], 19);
    EXPECT_EQ(back[31], 'A');
    EXPECT_EQ(back[32], 0);
    EXPECT_EQ(replyId(unit, packet(PKT_PROGNAME, {{6, 20}})), PKT_NAK);

    ASSERT_EQ(replyId(unit, packet(PKT_PUMPNAME, {{6, 9}, {7, 'S'}, {8, 'o'}})), PKT_ACK);
    EXPECT_EQ(get(CMD_GET_PUMPNAME, 9)[8], 'o');
    EXPECT_EQ(replyId(unit, poll(CMD_GET_PUMPNAME, 10)), PKT_NAK);

    Packet line = packet(PKT_CUSTNAME, {{6, 1}});
    for (std::size_t i = 7; i <= 24; ++i) {
        line[i] = 'c';
    }
    ASSERT_EQ(replyId(unit, line), PKT_ACK);
    EXPECT_EQ(unit.memory().customerLines[1], std::string(16, 'c'));
    EXPECT_EQ(get(CMD_GET_CUSTNAME, 1)[23], 0);
}

TEST_F(LaundryUnitTest, CommentsAreKeptInArrivalOrderAndClearedByEraseNames) {
    unlock();
    EXPECT_EQ(replyId(unit, poll(CMD_GET_COMMENTS, 1)), PKT_NAK);
    for (const char c : {'x', 'y', 'z'}) {
        // Byte 6 is not a block number: the unit appends whatever it holds it to be.
        ASSERT_EQ(replyId(unit, packet(PKT_COMMENTS, {{6, 0}, {7, std::uint8_t(c)}})), PKT_ACK);
    }
    const Packet second = get(CMD_GET_COMMENTS, 2);
    EXPECT_EQ(second.id(), PKT_COMMENTS);
    EXPECT_EQ(second[7], 'y');
    EXPECT_EQ(second[32], 3);
    EXPECT_EQ(replyId(unit, poll(CMD_GET_COMMENTS, 4)), PKT_NAK);
    EXPECT_EQ(replyId(unit, poll(CMD_GET_COMMENTS, 0)), PKT_NAK);

    ASSERT_EQ(replyId(unit, packet(PKT_PROGNAME, {{6, 0}, {7, 'P'}})), PKT_ACK);
    ASSERT_EQ(replyId(unit, poll(CMD_ERASE_NAMES)), PKT_ACK);
    EXPECT_TRUE(unit.memory().comments.empty());
    EXPECT_EQ(unit.memory().programNames[0], "");
    EXPECT_EQ(replyId(unit, poll(CMD_GET_COMMENTS, 1)), PKT_NAK);
}

TEST_F(LaundryUnitTest, AHundredCommentBlocksFillTheUnit) {
    unlock();
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(replyId(unit, packet(PKT_COMMENTS, {{7, 'a'}})), PKT_ACK);
    }
    EXPECT_EQ(replyId(unit, packet(PKT_COMMENTS, {{7, 'b'}})), PKT_NAK);
    EXPECT_EQ(get(CMD_GET_COMMENTS, 100)[32], 100);
}

TEST_F(LaundryUnitTest, ResetToKeepsKindAndProgramAndReportsItsOwnFeatureVersion) {
    unlock();
    unit.memory().resetTo.fsVersion = 7;
    ASSERT_EQ(replyId(unit, packet(PKT_RESET_TO, {{6, 0}, {7, 4}, {8, 9}})), PKT_ACK);
    Packet back = get(CMD_GET_RESET_TO);
    EXPECT_EQ(back[6], 0);
    EXPECT_EQ(back[7], 4);
    EXPECT_EQ(back[8], 7);
    ASSERT_EQ(replyId(unit, packet(PKT_RESET_TO, {{6, 2}, {7, 1}})), PKT_ACK);
    back = get(CMD_GET_RESET_TO);
    EXPECT_EQ(back[6], 2);
    EXPECT_EQ(back[7], 1);
    EXPECT_EQ(replyId(unit, packet(PKT_RESET_TO, {{6, 3}})), PKT_NAK);
}

TEST_F(LaundryUnitTest, AutomaticFlushReadsBackInSeconds) {
    unlock();
    Packet set = packet(PKT_AUTOFS, {{6, 2}, {9, 5}});
    set.setU16(7, 95);
    ASSERT_EQ(replyId(unit, set), PKT_ACK);
    const Packet back = get(CMD_GET_AUTOFS);
    EXPECT_EQ(back[6], 2);
    EXPECT_EQ(back.u16(7), 95);
    EXPECT_EQ(back[9], 5);
}

TEST_F(LaundryUnitTest, ClockKeepsRunningFromTheTimeItWasSet) {
    unlock();
    Packet set = packet(PKT_UNIT_TIME);
    const std::string text = "08300015032019";
    std::copy(text.begin(), text.end(), set.bytes.begin() + 6);
    ASSERT_EQ(replyId(unit, set), PKT_ACK);
    now += 75;
    const Packet back = get(CMD_GET_UNIT_TIME);
    EXPECT_EQ(std::string(back.bytes.begin() + 6, back.bytes.begin() + 20), "08311515032019");
    EXPECT_EQ(back[20], 0);
    Packet february = packet(PKT_UNIT_TIME);
    const std::string bad = "08300031022019";
    std::copy(bad.begin(), bad.end(), february.bytes.begin() + 6);
    EXPECT_EQ(replyId(unit, february), PKT_NAK);
}

TEST_F(LaundryUnitTest, UnitWithoutClockAnswersAnEmptyTimeAndRefusesToBeSet) {
    unit.memory().hasClock = false;
    unlock();
    const Packet back = get(CMD_GET_UNIT_TIME);
    EXPECT_EQ(back.id(), PKT_UNIT_TIME);
    EXPECT_EQ(back[6], 0);
    EXPECT_EQ(replyId(unit, packet(PKT_UNIT_TIME, {{6, '0'}})), PKT_NAK);
}

TEST_F(LaundryUnitTest, SerialNumberPacketSetsTheSerialOrTheIdentificationText) {
    unlock();
    Packet set = packet(PKT_SERIAL_NUM, {{6, 1}});
    const std::string digits = "0987654321";
    std::copy(digits.begin(), digits.end(), set.bytes.begin() + 7);
    ASSERT_EQ(replyId(unit, set), PKT_ACK);
    EXPECT_EQ(get(CMD_NONE).u32(2), 987654321u);
    set[9] = 'X';
    EXPECT_EQ(replyId(unit, set), PKT_NAK);
    EXPECT_EQ(unit.memory().identity.serial, 987654321u);
    ASSERT_EQ(replyId(unit, packet(PKT_SERIAL_NUM, {{6, 0}, {7, 'J'}, {8, '1'}})), PKT_ACK);
    EXPECT_EQ(unit.memory().identificationText, "J1");
    EXPECT_EQ(unit.memory().identity.serial, 987654321u);
}

TEST_F(LaundryUnitTest, EraseEepromNeedsTheKeyAndKeepsTheIdentity) {
    unlock();
    ASSERT_EQ(replyId(unit, packet(PKT_PROGNAME, {{6, 0}, {7, 'P'}})), PKT_ACK);
    ASSERT_EQ(replyId(unit, packet(PKT_CUSTNAME, {{6, 0}, {7, 'C'}})), PKT_ACK);
    unit.memory().globals.pumpSpeeds[0] = 10;
    unit.memory().identity.unitType = 9;
    Packet erase = packet(PKT_ERASE_EEPROM);
    erase.setU32(6, kEraseEepromKey ^ 1u);
    EXPECT_EQ(replyId(unit, erase), PKT_NAK);
    EXPECT_EQ(unit.memory().programNames[0], "P");
    erase.setU32(6, kEraseEepromKey);
    EXPECT_EQ(erase[6], 0xE1);  // the key travels low byte first
    ASSERT_EQ(replyId(unit, erase), PKT_ACK);
    EXPECT_EQ(unit.memory().programNames[0], "");
    EXPECT_EQ(unit.memory().customerLines[0], "");
    EXPECT_EQ(unit.memory().globals.pumpSpeeds[0], 80);
    EXPECT_EQ(unit.memory().identity.unitType, 9);
    EXPECT_EQ(unit.memory().identity.serial, 123456789u);
    EXPECT_FALSE(unit.locked());
}

TEST_F(LaundryUnitTest, ResetClearsCountersOrWashCountsAsAsked) {
    unit.memory().counters = {5, 6};
    unlock();
    ASSERT_EQ(replyId(unit, poll(CMD_RESET, 1)), PKT_ACK);
    EXPECT_EQ(unit.memory().counters.cycles, 5u);
    EXPECT_EQ(unit.memory().counters.washes, 0u);
    ASSERT_EQ(replyId(unit, poll(CMD_RESET, 0)), PKT_ACK);
    EXPECT_EQ(unit.memory().counters.cycles, 0u);
    EXPECT_EQ(replyId(unit, poll(CMD_RESET, 2)), PKT_NAK);
}

TEST_F(LaundryUnitTest, PumpCommandsAreRecordedRadioAndUnknownRequestsAreNot) {
    unlock();
    ASSERT_EQ(replyId(unit, packet(PKT_PUMPOPS, {{6, 2}, {7, 1}, {8, 60}, {9, 100}})), PKT_ACK);
    ASSERT_EQ(unit.memory().pumpRuns.size(), 1u);
    EXPECT_EQ(unit.memory().pumpRuns[0].seconds, 60);
    EXPECT_EQ(replyId(unit, packet(PKT_PUMPOPS, {{6, 10}})), PKT_NAK);
    // A wired unit has no radio: a scan must see nothing, not a refusal.
    EXPECT_EQ(replyId(unit, packet(PKT_RF_SETTINGS, {{6, 1}, {7, 0xFF}})), 0);
    EXPECT_EQ(replyId(unit, packet(PKT_WASHSTAT)), PKT_NAK);
    EXPECT_EQ(replyId(unit, poll(CMD_GET_CYC_DOSE)), PKT_NAK);
    EXPECT_EQ(replyId(unit, poll(99)), PKT_NAK);
}

}  // namespace
}  // namespace qelto::sim
