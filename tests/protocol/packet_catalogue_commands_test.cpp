#include <gtest/gtest.h>

#include <stdexcept>

#include "golden_packet.h"
#include "protocol/packet_catalogue.h"

namespace qelto::protocol {
namespace {

using test::packetOf;

TEST(CataloguePoll, AnUnlockCarriesThePinLowByteFirstInBytes11And12) {
    // PIN 1234 = 0x04D2.
    const Packet expected = packetOf({
        0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x00, 0x00,  // 0..10
        0xD2, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeUnlock(1234), expected);
    const auto request = parsePoll(expected);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->command, CMD_UNLOCK);
    EXPECT_EQ(request->pin, 1234);
}

TEST(CataloguePoll, ArgumentsGoIntoBytes7And8) {
    const Packet expected = packetOf({
        0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x12, 0x03, 0x00, 0x00, 0x00,  // 0..10
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makePoll(CMD_GET_COMMENTS, 3), expected);
    EXPECT_EQ(parsePoll(expected), (PollRequest{CMD_GET_COMMENTS, 3, 0, 0}));
}

TEST(CataloguePoll, AProgramDataRequestNamesTheHalfByItsIdentifierAndTheTrigger) {
    // Program 2 (index 1), half B: 64 + 2 + 1 = 67; trigger index 9.
    const Packet expected = packetOf({
        0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x43, 0x09, 0x00, 0x00,  // 0..10
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeProgDataRequest(1, 1, 9), expected);
    EXPECT_THROW(makeProgDataRequest(21, 0, 0), std::out_of_range);
    EXPECT_THROW(makeProgDataRequest(0, 2, 0), std::out_of_range);
    EXPECT_THROW(makeProgDataRequest(0, 0, 10), std::out_of_range);
}

TEST(CataloguePoll, OnlyAnUnlockReadsAPin) {
    Packet lock = makePoll(CMD_LOCK);
    lock[11] = 0x34;
    lock[12] = 0x12;
    EXPECT_EQ(parsePoll(lock)->pin, 0);
    EXPECT_FALSE(parsePoll(makeIdentify()));
}

// An acknowledgement from unit 12345, type index 11, software 2.0.5, processor 0x12345678; the
// bytes marked 0xEE have no meaning and are not kept.
const Packet kAck = packetOf({
    0x00, 0x02, 0x39, 0x30, 0x00, 0x00, 0x01, 0x02, 0x03, 0x0B, 0x0C,  // 0..10
    0x32, 0x30, 0x35, 0x0E, 0xEE, 0x10, 0xEE, 0xEE, 0x78, 0x56, 0x34,  // 11..21
    0x12, 0x17, 0x18, 0x19, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,  // 22..32
});

TEST(CatalogueIdentity, AnAcknowledgementGivesTheUnitsIdentity) {
    const auto identity = parseAck(kAck);
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->serial, 12345u);
    EXPECT_EQ(identity->bytes6to8, (std::array<std::uint8_t, 3>{1, 2, 3}));
    EXPECT_EQ(identity->unitTypeIndex, 11);
    EXPECT_EQ(identity->byte10, 0x0C);
    EXPECT_EQ(identity->version, (std::array<std::uint8_t, 3>{'2', '0', '5'}));
    EXPECT_EQ(identity->byte14, 0x0E);
    EXPECT_EQ(identity->byte16, 0x10);
    EXPECT_EQ(identity->cpuSerial, 0x12345678u);
    EXPECT_EQ(identity->byte23, 0x17);
    EXPECT_EQ(identity->bytes24to25, (std::array<std::uint8_t, 2>{0x18, 0x19}));
}

TEST(CatalogueIdentity, ABuiltAcknowledgementCarriesOnlyTheIdentityBytes) {
    Packet expected = kAck;
    for (const std::size_t unused :
         std::array<std::size_t, 10>{15, 17, 18, 26, 27, 28, 29, 30, 31, 32}) {
        expected[unused] = 0;
    }
    EXPECT_EQ(makeAck(*parseAck(kAck)), expected);
}

TEST(CatalogueIdentity, ARefusalStillCarriesTheIdentityButIsNoAcknowledgement) {
    Packet nak = kAck;
    nak[1] = PKT_NAK;
    EXPECT_FALSE(parseAck(nak));
    ASSERT_TRUE(parseNak(nak));
    EXPECT_EQ(parseNak(nak)->version, (std::array<std::uint8_t, 3>{'2', '0', '5'}));
    EXPECT_FALSE(parseNak(kAck));
}

TEST(CatalogueCommands, TheIdentifyRequestHasNoPayload) {
    Packet expected;
    expected[1] = 0x3E;
    EXPECT_EQ(makeIdentify(), expected);
}

TEST(CatalogueCommands, EraseEepromCarriesItsKeyLowByteFirst) {
    const Packet expected = packetOf({
        0x00, 0x3F, 0x00, 0x00, 0x00, 0x00, 0xE1, 0x96, 0x3C, 0x5A, 0x00,  // 0..10
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeEraseEeprom(), expected);
    EXPECT_TRUE(isEraseEepromRequest(expected));
    Packet wrongKey = expected;
    wrongKey[9] = 0x5B;
    EXPECT_FALSE(isEraseEepromRequest(wrongKey));
    Packet wrongId = expected;
    wrongId[1] = PKT_POLL;
    EXPECT_FALSE(isEraseEepromRequest(wrongId));
}

TEST(CatalogueCommands, TheRadioRequestAsksForAChannelOrLeavesItOpen) {
    const Packet channel5 = packetOf({
        0x00, 0x17, 0x00, 0x00, 0x00, 0x00, 0x01, 0x05, 0xFF, 0xFF, 0xFF,  // 0..10
        0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makeRfSettingsRequest({5}), channel5);
    EXPECT_EQ(parseRfSettingsRequest(channel5), RfSettingsRequest{5});
    Packet anyChannel = channel5;
    anyChannel[7] = 0xFF;
    EXPECT_EQ(makeRfSettingsRequest(), anyChannel);
}

TEST(CatalogueCommands, TheRadioReplyHandsBackBytes6To14) {
    const Packet reply = packetOf({
        0x00, 0x17, 0xEE, 0xEE, 0xEE, 0xEE, 0x01, 0x02, 0x03, 0x04, 0x05,  // 0..10
        0x06, 0x07, 0x08, 0x09, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,  // 11..21
        0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,  // 22..32
    });
    const auto settings = parseRfSettingsReply(reply);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->settings, (std::array<std::uint8_t, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    Packet other = reply;
    other[1] = PKT_ACK;
    EXPECT_FALSE(parseRfSettingsReply(other));
}

TEST(CatalogueCommands, APumpRunCarriesPumpOneSecondsAndSpeed) {
    // Pump 4 (index 3), a 60-second calibration run at 75 %.
    const Packet expected = packetOf({
        0x00, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x03, 0x01, 0x3C, 0x4B, 0x00,  // 0..10
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 11..21
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // 22..32
    });
    EXPECT_EQ(makePumpOps({3, 1, 60, 75}), expected);
    EXPECT_EQ(parsePumpOps(expected), (PumpOps{3, 1, 60, 75}));
}

}  // namespace
}  // namespace qelto::protocol
