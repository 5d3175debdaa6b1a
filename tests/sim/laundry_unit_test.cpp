// The simulated unit's identity byte for byte, and its lock. What it keeps of every write is
// checked end to end against the PC's own packets in tests/integration.
#include "sim/laundry_unit.h"

#include <gtest/gtest.h>

#include "sim/unit_memory.h"
#include "sim_test_helpers.h"

namespace qelto::sim {
namespace {

using namespace protocol;
using namespace test;

TEST(LaundryUnit, IdentityCarriesSerialProductTypeVersionAndProcessorSerial) {
    LaundryUnit unit(factoryMemory(Identity{}, 1234));
    Packet expected;
    // 123456789 = 0x075BCD15, low byte first; processor serial 0x00C0FFEE likewise.
    expected.bytes = {0, 0x02, 0x15, 0xCD, 0x5B, 0x07, 0x01, 0, 0, 0x03, 0, '1', '3', '0', 0, 0, 0,
                      0, 0,    0xEE, 0xFF, 0xC0, 0x00, 0,    0, 0, 0,    0, 0,   0,   0,   0, 0};
    EXPECT_EQ(unit.answer(poll(CMD_NONE)), expected);
    EXPECT_EQ(replyId(unit, packet(PKT_HALVERCOTT)), PKT_ACK);
}

// The PIN guards what changes a unit; reading its settings needs none.
TEST(LaundryUnit, ALockedUnitIsReadButNotChanged) {
    LaundryUnit unit(factoryMemory(Identity{}, 1234));
    unit.memory().description = "Ward 7";
    const std::pair<std::uint8_t, std::uint8_t> reads[] = {{CMD_NONE, PKT_ACK},
                                                           {CMD_GET_UNIT_DESC, PKT_UNIT_DESC},
                                                           {CMD_GET_PUMPCAL, PKT_PUMPCAL},
                                                           {CMD_GET_EN_PROGS, PKT_EN_PROGS},
                                                           {CMD_GET_UNIT_TIME, PKT_UNIT_TIME}};
    for (const auto& [command, reply] : reads) {
        EXPECT_EQ(replyId(unit, poll(command)), reply) << int{command};
    }
    EXPECT_EQ(replyId(unit, unlockRequest(4321)), PKT_NAK);
    for (const std::uint8_t change : {CMD_ERASE_FORMULA, CMD_ERASE_NAMES, CMD_RESET}) {
        EXPECT_EQ(replyId(unit, poll(change)), PKT_NAK) << int{change};
    }
    EXPECT_EQ(replyId(unit, packet(PKT_PROGNAME, {{6, 0}, {7, 'X'}})), PKT_NAK);
    Packet erase = packet(PKT_ERASE_EEPROM);
    erase.setU32(6, kEraseEepromKey);
    EXPECT_EQ(replyId(unit, erase), PKT_NAK);
    EXPECT_EQ(unit.memory().programNames[0], "");
    EXPECT_EQ(unit.memory().description, "Ward 7");
    EXPECT_TRUE(unit.locked());
    EXPECT_EQ(replyId(unit, unlockRequest(1234)), PKT_ACK);
    EXPECT_EQ(replyId(unit, poll(CMD_ERASE_FORMULA)), PKT_ACK);
}

}  // namespace
}  // namespace qelto::sim
