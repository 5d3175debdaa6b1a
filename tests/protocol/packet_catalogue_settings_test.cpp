#include <gtest/gtest.h>

#include "golden_packet.h"
#include "protocol/packet_catalogue.h"

namespace qelto::protocol {
namespace {

using test::noisyPacket;
using test::packetOf;

TEST(CatalogueGlobals, Block1PutsEveryFieldInItsPlace) {
    GlobalBlock1 block;
    block.unitSerial = 0x12345678;
    block.unitType = 3;
    block.language = 7;
    block.pins = {1234, 5678, 9999};
    block.accessCode = 0x2A;
    block.auxTime = 90;
    block.auxByte = 0x11;
    block.resetDelayTime = 300;
    block.resetDelayOff = 1;
    block.resetDelayLastInput = 1;
    block.optionFlag0 = false;
    block.optionFlag1 = true;
    block.bytes26to28 = {0xA1, 0xA2, 0xA3};
    block.viewMode = 4;
    block.flushType = 1;
    block.relayMode = 1;
    block.safetyStopMode = 2;
    const Packet expected = packetOf({
        0x00, 0x06, 0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x00, 0x03, 0x07,  // 0..10
        0xD2, 0x04, 0x2E, 0x16, 0x0F, 0x27, 0x2A, 0x5A, 0x00, 0x11, 0x2C,  // 11..21
        0x01, 0x01, 0x01, 0x02, 0xA1, 0xA2, 0xA3, 0x04, 0x01, 0x01, 0x02,  // 22..32
    });
    EXPECT_EQ(makeGlobalBlock1(block), expected);
    EXPECT_EQ(parseGlobalBlock1(expected), block);
}

TEST(CatalogueGlobals, Block1ReadsOnlyTheTwoLowFlagBits) {
    Packet packet = makeGlobalBlock1({});
    packet[25] = 0xFD;  // bit 1 clear
    const auto block = parseGlobalBlock1(packet);
    ASSERT_TRUE(block);
    EXPECT_TRUE(block->optionFlag0);
    EXPECT_FALSE(block->optionFlag1);
    EXPECT_EQ(makeGlobalBlock1(*block)[25], 0x01);
}

TEST(CatalogueGlobals, Block2ShiftsSpeedRangesByOneOnTheWire) {
    GlobalBlock2 block;
    block.pumpSpeed = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};
    block.flushValveTime = 600;
    block.words18to21 = {0x0102, 0xBEEF};
    block.pumpSpeedRange = {0, 1, 2, 3, 0, 1, 2, 3, 3, 0};
    const Packet expected = packetOf({
        0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x64, 0x5A, 0x50, 0x46, 0x3C,  // 0..10
        0x32, 0x28, 0x1E, 0x14, 0x0A, 0x58, 0x02, 0x02, 0x01, 0xEF, 0xBE,  // 11..21
        0x01, 0x02, 0x03, 0x00, 0x01, 0x02, 0x03, 0x00, 0x00, 0x01, 0x00,  // 22..32
    });
    EXPECT_EQ(makeGlobalBlock2(block), expected);
    EXPECT_EQ(parseGlobalBlock2(expected), block);
}

TEST(CatalogueGlobals, TheBlocksAreToldApartByTheirIdentifiers) {
    EXPECT_FALSE(parseGlobalBlock1(makeGlobalBlock2({})));
    EXPECT_FALSE(parseGlobalBlock2(makeGlobalBlock1({})));
    EXPECT_FALSE(parseGlobalBlock1(makePoll(CMD_GET_GLOBAL)));
}

TEST(CatalogueSettings, AutomaticFlushCarriesModeSecondsAndAcceptTime) {
    const Packet expected = packetOf({
        0x00, 0x1C, 0x00, 0x00, 0x00, 0x00, 0x02, 0x2C, 0x01, 0x0A, 0x00,  // 0..10
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeAutoFs({2, 300, 10}), expected);
    EXPECT_EQ(parseAutoFs(noisyPacket(PKT_AUTOFS)), (AutoFs{0xEE, 0xEEEE, 0xEE}));
    EXPECT_FALSE(parseAutoFs(noisyPacket(PKT_RESET_TO)));
}

TEST(CatalogueResetTo, OptionsZeroAndOneAreTheFixedKindsAndTwoOnAChosenProgram) {
    EXPECT_EQ(resetToForOption(0), (ResetTo{1, 1, 0}));
    EXPECT_EQ(resetToForOption(1), (ResetTo{2, 1, 0}));
    EXPECT_EQ(resetToForOption(2), (ResetTo{0, 1, 0}));
    EXPECT_EQ(resetToForOption(7), (ResetTo{0, 6, 0}));
}

TEST(CatalogueResetTo, TheOptionComesBackFromKindAndByte7) {
    EXPECT_EQ(resetOptionOf({1, 9, 0}), 0);
    EXPECT_EQ(resetOptionOf({2, 9, 0}), 1);
    EXPECT_EQ(resetOptionOf({0, 1, 0}), 2);
    EXPECT_EQ(resetOptionOf({0, 6, 0}), 7);
    EXPECT_EQ(resetOptionOf({5, 3, 0}), 4);  // an unknown kind counts as a chosen program
    for (int option = 0; option < 256; ++option) {
        const auto n = static_cast<std::uint8_t>(option);
        EXPECT_EQ(resetOptionOf(resetToForOption(n)), n);
    }
}

TEST(CatalogueResetTo, TheRequestCarriesKindAndProgramAndTheReplyTheFsVersion) {
    const Packet request = packetOf({
        0x00, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00,  // 0..10
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeResetTo(resetToForOption(7)), request);
    Packet reply = noisyPacket(PKT_RESET_TO);
    reply[6] = 2;
    reply[7] = 1;
    reply[8] = 3;
    EXPECT_EQ(parseResetTo(reply), (ResetTo{2, 1, 3}));
}

}  // namespace
}  // namespace qelto::protocol
