#include "protocol/packet_catalogue.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "golden_packet.h"

namespace qelto::protocol {
namespace {

using test::expectLayout;
using test::golden;
using test::noisyPacket;
using test::packetOf;

// --- Polls and commands ------------------------------------------------------------------------

TEST(CatalogueCommands, RequestsAndCommandsPutEveryFieldInItsPlace) {
    // PIN 1234 = 0x04D2, low byte first.
    const Packet unlock = golden(PKT_POLL, {{6, 0x0F}, {11, 0xD2}, {12, 0x04}});
    EXPECT_EQ(makeUnlock(1234), unlock);
    EXPECT_EQ(parsePoll(unlock), (PollRequest{CMD_UNLOCK, 0, 0, 1234}));
    expectLayout(
        PollRequest{CMD_GET_COMMENTS, 3, 0, 0},
        [](const PollRequest& p) { return makePoll(p.command, p.byte7); }, parsePoll,
        golden(PKT_POLL, {{6, 0x12}, {7, 0x03}}));
    // Program 2 (index 1), half B: 64 + 2 + 1 = 67; trigger index 9.
    EXPECT_EQ(makeProgDataRequest(1, 1, 9), golden(PKT_POLL, {{6, 0x0A}, {7, 0x43}, {8, 0x09}}));
    EXPECT_EQ(makeIdentify(), golden(0x3E, {}));
    // Pump 4 (index 3), a 60-second calibration run at 75 %.
    expectLayout(PumpOps{3, 1, 60, 75}, makePumpOps, parsePumpOps,
                 golden(0x0F, {{6, 0x03}, {7, 0x01}, {8, 0x3C}, {9, 0x4B}}));

    const Packet erase = golden(0x3F, {{6, 0xE1}, {7, 0x96}, {8, 0x3C}, {9, 0x5A}});
    EXPECT_EQ(makeEraseEeprom(), erase);
    EXPECT_TRUE(isEraseEepromRequest(erase));
    Packet wrongKey = erase;
    wrongKey[9] = 0x5B;
    EXPECT_FALSE(isEraseEepromRequest(wrongKey));

    const Packet channel5 = golden(
        0x17, {{6, 0x01}, {7, 0x05}, {8, 0xFF}, {9, 0xFF}, {10, 0xFF}, {11, 0xFF}, {12, 0xFF}});
    expectLayout(RfSettingsRequest{5}, makeRfSettingsRequest, parseRfSettingsRequest, channel5);
    Packet anyChannel = channel5;
    anyChannel[7] = 0xFF;
    EXPECT_EQ(makeRfSettingsRequest(), anyChannel);
}

TEST(CatalogueCommands, ParsersReadOnlyTheirOwnFieldsAndPackets) {
    EXPECT_THROW(makeProgDataRequest(0, 0, 10), std::out_of_range);
    Packet lock = makePoll(CMD_LOCK);
    lock[11] = 0x34;
    lock[12] = 0x12;
    EXPECT_EQ(parsePoll(lock)->pin, 0) << "only an unlock reads a PIN";
    EXPECT_FALSE(parsePoll(makeIdentify()));
}

// An acknowledgement from unit 12345, type index 11, software 2.0.5, processor 0x12345678; the
// bytes marked 0xEE have no meaning and are not kept.
const Packet kAck = packetOf({
    0x00, 0x02, 0x39, 0x30, 0x00, 0x00, 0x01, 0x02, 0x03, 0x0B, 0x0C,  // 0..10
    0x32, 0x30, 0x35, 0x0E, 0xEE, 0x10, 0xEE, 0xEE, 0x78, 0x56, 0x34,  // 11..21
    0x12, 0x17, 0x18, 0x19, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,  // 22..32
});

TEST(CatalogueIdentity, AnAcknowledgementCarriesTheIdentityAndARefusalToo) {
    const auto identity = parseAck(kAck);
    ASSERT_TRUE(identity);
    EXPECT_EQ(*identity, (UnitIdentity{12345,
                                       {1, 2, 3},
                                       11,
                                       0x0C,
                                       {'2', '0', '5'},
                                       0x0E,
                                       0x10,
                                       0x12345678,
                                       0x17,
                                       {0x18, 0x19}}));

    Packet built = kAck;
    for (const std::size_t unused :
         std::initializer_list<std::size_t>{15, 17, 18, 26, 27, 28, 29, 30, 31, 32}) {
        built[unused] = 0;
    }
    EXPECT_EQ(makeAck(*identity), built);

    Packet nak = kAck;
    nak[1] = PKT_NAK;
    EXPECT_FALSE(parseAck(nak));
    EXPECT_EQ(parseNak(nak)->version, identity->version);
    EXPECT_FALSE(parseNak(kAck));
}

// --- Settings ----------------------------------------------------------------------------------

TEST(CatalogueGlobals, BothBlocksPutEveryFieldInItsPlace) {
    GlobalBlock1 block1;
    block1.unitSerial = 0x12345678;
    block1.unitType = 3;
    block1.language = 7;
    block1.pins = {1234, 5678, 9999};
    block1.accessCode = 0x2A;
    block1.auxTime = 90;
    block1.auxByte = 0x11;
    block1.resetDelayTime = 300;
    block1.resetDelayOff = 1;
    block1.resetDelayLastInput = 1;
    block1.optionFlag0 = false;
    block1.optionFlag1 = true;
    block1.bytes26to28 = {0xA1, 0xA2, 0xA3};
    block1.viewMode = 4;
    block1.flushType = 1;
    block1.relayMode = 1;
    block1.safetyStopMode = 2;
    expectLayout(block1, makeGlobalBlock1, parseGlobalBlock1,
                 packetOf({
                     0x00, 0x06, 0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x00, 0x03, 0x07,  // 0..10
                     0xD2, 0x04, 0x2E, 0x16, 0x0F, 0x27, 0x2A, 0x5A, 0x00, 0x11, 0x2C,  // 11..21
                     0x01, 0x01, 0x01, 0x02, 0xA1, 0xA2, 0xA3, 0x04, 0x01, 0x01, 0x02,  // 22..32
                 }));

    // Speed ranges travel one higher, with 3 wrapping to 0.
    GlobalBlock2 block2;
    block2.pumpSpeed = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};
    block2.flushValveTime = 600;
    block2.words18to21 = {0x0102, 0xBEEF};
    block2.pumpSpeedRange = {0, 1, 2, 3, 0, 1, 2, 3, 3, 0};
    expectLayout(block2, makeGlobalBlock2, parseGlobalBlock2,
                 packetOf({
                     0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x64, 0x5A, 0x50, 0x46, 0x3C,  // 0..10
                     0x32, 0x28, 0x1E, 0x14, 0x0A, 0x58, 0x02, 0x02, 0x01, 0xEF, 0xBE,  // 11..21
                     0x01, 0x02, 0x03, 0x00, 0x01, 0x02, 0x03, 0x00, 0x00, 0x01, 0x00,  // 22..32
                 }));

    // Only the two low bits of the option byte are flags.
    Packet flags = makeGlobalBlock1({});
    flags[25] = 0xFD;
    const auto read = parseGlobalBlock1(flags);
    EXPECT_TRUE(read->optionFlag0);
    EXPECT_FALSE(read->optionFlag1);
    EXPECT_EQ(makeGlobalBlock1(*read)[25], 0x01);
    EXPECT_FALSE(parseGlobalBlock2(makeGlobalBlock1({})));
}

TEST(CatalogueSettings, AutomaticFlushAndResetToCarryTheirFields) {
    EXPECT_EQ(makeAutoFs({2, 300, 10}), golden(0x1C, {{6, 0x02}, {7, 0x2C}, {8, 0x01}, {9, 0x0A}}));
    EXPECT_EQ(parseAutoFs(noisyPacket(PKT_AUTOFS)), (AutoFs{0xEE, 0xEEEE, 0xEE}));

    EXPECT_EQ(makeResetTo(resetToForOption(7)), golden(0x1D, {{7, 0x06}}));
}

// Options 0 and 1 are the fixed kinds; from 2 on, a reset to the chosen program option - 1.
TEST(CatalogueResetTo, OptionsMapToKindAndProgramAndBack) {
    const struct {
        std::uint8_t option;
        ResetTo wire;
    } rows[] = {{0, {1, 1, 0}}, {1, {2, 1, 0}}, {2, {0, 1, 0}}, {7, {0, 6, 0}}};
    for (const auto& row : rows) {
        EXPECT_EQ(resetToForOption(row.option), row.wire) << int{row.option};
    }
    EXPECT_EQ(resetOptionOf({5, 3, 0}), 4);  // an unknown kind counts as a chosen program
}

// --- Program data, calibration, enabled triggers -------------------------------------------------

TEST(CatalogueProgData, BothHalvesPutEveryPumpInItsPlace) {
    ProgDataHalf a;
    a.program = 2;
    a.half = 0;
    a.trigger = 7;
    a.setting = 2;
    a.pumps[0] = {1, 0, 0, 5, 0};
    a.pumps[0].setRunTime(1, 30);
    a.pumps[2] = {1, 0, 0, 0, 2};
    a.pumps[2].setDose(600);
    a.pumps[4] = {1, 45, 0, 59, 59};
    // Identifier 64 + 2 x 2 = 68.
    expectLayout(a, makeProgDataHalf, parseProgDataHalf,
                 packetOf({
                     0x00, 0x44, 0x00, 0x00, 0x00, 0x00, 0x07, 0x02, 0x01, 0x1E, 0x01,  // 0..10
                     0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x58, 0x02, 0x00,  // 11..21
                     0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x2D, 0x00, 0x3B, 0x3B,  // 22..32
                 }));

    // Half B of the last program carries pump 10 in its last five bytes: 64 + 2 x 19 + 1 = 103.
    ProgDataHalf b{19, 1, 9, 1, {}};
    b.pumps[4].enabled = 1;
    b.pumps[4].setDose(0x1234);
    EXPECT_EQ(makeProgDataHalf(b),
              golden(0x67, {{6, 0x09}, {7, 0x01}, {28, 0x01}, {29, 0x34}, {30, 0x12}}));
}

TEST(CatalogueProgData, TheIdentifierNamesProgramAndHalfAndOnly64To105AreProgramData) {
    Packet packet = noisyPacket(progDataId(0, 0));
    packet[9] = 0x58;
    packet[10] = 0x02;
    const ProgPump pump = parseProgDataHalf(packet)->pumps[0];
    EXPECT_EQ(pump.runSeconds(), 0x58);  // the same two bytes read as run time or as dose
    EXPECT_EQ(pump.runMinutes(), 0x02);
    EXPECT_EQ(pump.dose16(), 600);
    EXPECT_EQ(parseProgDataHalf(noisyPacket(105))->program, 20);
    EXPECT_FALSE(parseProgDataHalf(noisyPacket(106)));
    EXPECT_THROW(makeProgDataHalf(ProgDataHalf{21, 0, 0, 0, {}}), std::out_of_range);
}

TEST(CataloguePumpCal, AGroupCarriesVolumeAndDateOfFivePumpsAndOnlyGroups0And1Exist) {
    PumpCalGroup group;
    group.group = 1;
    group.pumps[0] = {600, 15, 3, calibrationYearByte(2019)};
    group.pumps[2] = {1500, 31, 12, calibrationYearByte(2098)};
    group.pumps[4] = {65535, 1, 1, calibrationYearByte(2000)};
    expectLayout(group, makePumpCal, parsePumpCal,
                 packetOf({
                     0x00, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x01, 0x58, 0x02, 0x0F, 0x03,  // 0..10
                     0x13, 0x00, 0x00, 0x00, 0x00, 0x00, 0xDC, 0x05, 0x1F, 0x0C, 0x62,  // 11..21
                     0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x01, 0x01, 0x00, 0x00,  // 22..32
                 }));
    // Years outside 2000..2098 are sent as zero.
    EXPECT_EQ(calibrationYearByte(2099), 0);
    Packet packet = noisyPacket(PKT_PUMPCAL);
    packet[6] = 2;
    EXPECT_FALSE(parsePumpCal(packet));
}

// Triggers 1 to 8 have a byte per program from byte 6; triggers 9 and 10 of four programs share
// a byte from byte 26 (program p at bits 2 (p mod 4) and 2 (p mod 4) + 1).
TEST(CatalogueEnProgs, EveryTriggerHasItsBit) {
    EnProgs low;
    low.enabled[0][0] = true;   // byte 6, bit 0
    low.enabled[19][7] = true;  // byte 25, bit 7
    low.enabled[4][2] = true;   // byte 10, bit 2
    expectLayout(low, makeEnProgs, parseEnProgs, golden(0x18, {{6, 0x01}, {10, 0x04}, {25, 0x80}}));
    EnProgs high;
    high.enabled[5][9] = true;   // byte 27, bit 3
    high.enabled[19][9] = true;  // byte 30, bit 7
    high.enabled[0][8] = true;   // byte 26, bit 0
    expectLayout(high, makeEnProgs, parseEnProgs,
                 golden(0x18, {{26, 0x01}, {27, 0x08}, {30, 0x80}}));
}

}  // namespace
}  // namespace qelto::protocol
