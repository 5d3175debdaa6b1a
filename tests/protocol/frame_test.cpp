#include "protocol/frame.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qelto::protocol {
namespace {

// Golden vectors, worked out by hand from the frame layout: marker "0", packet bytes 1..32,
// check word high then low, the check word the ones' complement of the byte sum.
TEST(Frame, TheCheckWordOfAnAllZeroPacketIsFFFF) {
    const Packet zero;
    EXPECT_EQ(checkWord(zero), 0xFFFF);
    const Frame frame = encodeFrame(zero);
    EXPECT_EQ(frame[0], 0x30);
    EXPECT_EQ(frame[33], 0xFF);
    EXPECT_EQ(frame[34], 0xFF);
    EXPECT_TRUE(frameCheckWordValid(frame));
}

TEST(Frame, APollForTheGlobalsIsFramedByteForByte) {
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

    HidReport report{};
    report[0] = 0x00;
    std::copy(expected.begin(), expected.end(), report.begin() + 1);
    EXPECT_EQ(encodeHidReport(poll), report);
}

TEST(Frame, TheCheckWordSumWrapsAt16Bits) {
    Packet full;
    std::fill(full.bytes.begin() + 1, full.bytes.end(), 0xFF);
    // 32 x 0xFF = 0x1FE0; its complement is 0xE01F.
    EXPECT_EQ(checkWord(full), 0xE01F);
    Frame frame = encodeFrame(full);
    EXPECT_TRUE(frameCheckWordValid(frame));
    frame[34] ^= 0x01;
    EXPECT_FALSE(frameCheckWordValid(frame));
    frame[34] ^= 0x01;
    frame[17] ^= 0x80;
    EXPECT_FALSE(frameCheckWordValid(frame));
}

TEST(Frame, HidInputReportsGiveTheirPacketBytes) {
    HidReport report{};
    report[0] = 0x00;  // report number
    report[1] = 0x30;
    report[2] = 0x02;  // PKT_ACK
    report[3] = 0x15;
    report[33] = 0x99;
    const Packet packet = packetFromHidReport(report);
    EXPECT_EQ(packet[0], 0);
    EXPECT_EQ(packet.id(), 0x02);
    EXPECT_EQ(packet[2], 0x15);
    EXPECT_EQ(packet[32], 0x99);
}

// An identity reply of a unit with serial number 123456789 (0x075BCD15): the serial number sits
// in packet bytes 2..5, two bytes after the marker.
Frame identityFrame() {
    Packet ack;
    ack[1] = 0x02;
    ack.setU32(2, 123456789);
    ack[9] = 3;
    ack[11] = '1';
    ack[12] = '3';
    ack[13] = '0';  // a "0" inside the packet: a second marker candidate
    return encodeFrame(ack);
}

Frame rotatedLeft(const Frame& frame, std::size_t by) {
    Frame out{};
    for (std::size_t j = 0; j < kFrameSize; ++j) {
        out[j] = frame[(j + by) % kFrameSize];
    }
    return out;
}

TEST(Frame, ARotatedReplyIsRealignedByTheSerialNumber) {
    const Frame frame = identityFrame();
    // The last ten bytes arrive first.
    const Frame received = rotatedLeft(frame, kFrameSize - 10);
    ASSERT_NE(received[0], 0x30);
    const Frame fixed = realignFrame(received, 123456789);
    EXPECT_EQ(fixed, frame);
    EXPECT_TRUE(frameCheckWordValid(fixed));
}

TEST(Frame, AReplyStartingWithTheMarkerIsUsedAsReceived) {
    const Frame frame = identityFrame();
    EXPECT_EQ(realignFrame(frame, 123456789), frame);
    EXPECT_EQ(realignFrame(frame, 0), frame);
}

TEST(Frame, WithOneMarkerTheMarkerStartsTheFrame) {
    Packet p;
    p[1] = 0x06;
    p[9] = 3;
    const Frame frame = encodeFrame(p);  // no other "0" byte in it
    const Frame received = rotatedLeft(frame, 7);
    EXPECT_EQ(realignFrame(received, 555), frame);
}

TEST(Frame, AnUnconfirmedSerialMatchFallsBackToTheFirstFrameByte) {
    // Two markers, and the serial number found where no marker stands two bytes before it: the
    // start goes back to 0, so the bytes are used as received and the check word decides.
    Frame received{};
    received[3] = 0x30;
    received[10] = 0x30;
    received[20] = 0x11;
    received[21] = 0x22;
    received[22] = 0x33;
    received[23] = 0x44;
    EXPECT_EQ(realignFrame(received, 0x44332211), received);
}

}  // namespace
}  // namespace qelto::protocol
