#include "protocol/frame.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qelto::protocol {
namespace {

// Golden vectors, worked out by hand from the frame layout: marker "0", packet bytes 1..32,
// check word high then low, the check word the ones' complement of the byte sum.
TEST(Frame, TheCheckWordIsTheComplementOfTheSixteenBitByteSum) {
    Packet full;
    std::fill(full.bytes.begin() + 1, full.bytes.end(), std::uint8_t{0xFF});
    // All zero: 0xFFFF; 32 x 0xFF = 0x1FE0, complement 0xE01F.
    for (const auto& [packet, word] : {std::pair{Packet{}, 0xFFFF}, std::pair{full, 0xE01F}}) {
        EXPECT_EQ(checkWord(packet), word);
        Frame frame = encodeFrame(packet);
        EXPECT_EQ(frame[0], 0x30);
        EXPECT_EQ(frame[33], word >> 8);
        EXPECT_EQ(frame[34], word & 0xFF);
        EXPECT_TRUE(frameCheckWordValid(frame));
        for (const std::size_t spoilt : {std::size_t{34}, std::size_t{17}}) {
            frame[spoilt] ^= 0x01;
            EXPECT_FALSE(frameCheckWordValid(frame)) << spoilt;
            frame[spoilt] ^= 0x01;
        }
    }
}

TEST(Frame, APollIsFramedAndAHidReportReadByteForByte) {
    Packet poll;
    poll[1] = 0x01;  // PKT_POLL
    poll[6] = 0x03;  // CMD_GET_GLOBAL
    poll[7] = 0x01;  // block 1
    // Sum 0x0005, check word 0xFFFA.
    Frame expected{};
    expected[0] = 0x30;
    expected[1] = 0x01;
    expected[6] = 0x03;
    expected[7] = 0x01;
    expected[33] = 0xFF;
    expected[34] = 0xFA;
    EXPECT_EQ(encodeFrame(poll), expected);
    HidReport report{};  // report number 0, then the frame
    std::copy(expected.begin(), expected.end(), report.begin() + 1);
    EXPECT_EQ(encodeHidReport(poll), report);

    HidReport in{};
    in[1] = 0x30;
    in[2] = 0x02;  // PKT_ACK
    in[3] = 0x15;
    in[33] = 0x99;
    const Packet packet = packetFromHidReport(in);
    EXPECT_EQ(packet[0], 0);
    EXPECT_EQ(packet.id(), 0x02);
    EXPECT_EQ(packet[2], 0x15);
    EXPECT_EQ(packet[32], 0x99);
}

Frame rotatedLeft(const Frame& frame, std::size_t by) {
    Frame out{};
    for (std::size_t j = 0; j < kFrameSize; ++j) {
        out[j] = frame[(j + by) % kFrameSize];
    }
    return out;
}

// A reply that arrives rotated starts where the serial number, two bytes after a marker, says
// (the simulated unit rotates its replies: tests/integration); with a single marker the marker
// starts it.
TEST(Frame, ARotatedReplyIsRealignedByTheSerialNumberOrItsOnlyMarker) {
    // An identity reply of unit 123456789 (0x075BCD15), with a "0" inside the packet as a second
    // marker candidate.
    Packet ack;
    ack[1] = 0x02;
    ack.setU32(2, 123456789);
    ack[9] = 3;
    ack[11] = '1';
    ack[12] = '3';
    ack[13] = '0';
    const Frame identity = encodeFrame(ack);
    Packet globals;
    globals[1] = 0x06;
    globals[9] = 3;
    const Frame oneMarker = encodeFrame(globals);
    // Two markers and the serial number where no marker stands two bytes before it: the start
    // goes back to 0, the bytes are used as received and the check word decides.
    Frame unconfirmed{};
    unconfirmed[3] = 0x30;
    unconfirmed[10] = 0x30;
    unconfirmed.at(20) = 0x11;
    unconfirmed.at(21) = 0x22;
    unconfirmed.at(22) = 0x33;
    unconfirmed.at(23) = 0x44;

    const struct {
        Frame received;
        std::uint32_t serial;
        Frame expected;
    } rows[] = {
        {identity, 0, identity},
        {rotatedLeft(oneMarker, 7), 555, oneMarker},
        {unconfirmed, 0x44332211, unconfirmed},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.serial);
        EXPECT_EQ(realignFrame(row.received, row.serial), row.expected);
    }
}

}  // namespace
}  // namespace qelto::protocol
