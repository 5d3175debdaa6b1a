// The usage packets against byte-for-byte vectors written from the documented layouts.
#include <gtest/gtest.h>

#include "protocol/packet_catalogue.h"

namespace qelto::protocol {
namespace {

Packet bytesOf(std::initializer_list<std::pair<std::size_t, std::uint8_t>> set) {
    Packet packet;
    for (const auto& [at, value] : set) {
        packet.bytes.at(at) = value;
    }
    return packet;
}

TEST(ReportPackets, RequestsCarryProgramBlockFirstFlagAndDayByte) {
    EXPECT_EQ(makeTotalsRequest(20, 2), bytesOf({{1, 1}, {6, 16}, {7, 20}, {8, 2}}));
    EXPECT_EQ(makeLogRequest(true, 0x5A), bytesOf({{1, 1}, {6, 16}, {9, 1}, {27, 0x5A}}));
    EXPECT_EQ(makeLogRequest(false, 0x5A), bytesOf({{1, 1}, {6, 16}, {27, 0x5A}}));
}

TEST(ReportPackets, TotalsReplyCellsAreCountHighMiddleLow) {
    // Block 1: pump 4 (k = 0) at bytes 8..13 with 0x0102 events, high part 0x0304, middle 0x05,
    // low 0x06; pump 7 (k = 3) at bytes 26..31.
    const Packet golden = bytesOf({{1, 14},
                                   {7, 1},
                                   {8, 0x02},
                                   {9, 0x01},
                                   {10, 0x04},
                                   {11, 0x03},
                                   {12, 0x05},
                                   {13, 0x06},
                                   {26, 0xFF},
                                   {27, 0xFF},
                                   {28, 0x01},
                                   {29, 0x00},
                                   {30, 0x00},
                                   {31, 0x80}});
    TotalsReply reply;
    reply.block = 1;
    reply.cells[0] = {0x0102, 0x0304, 0x05, 0x06};
    reply.cells[3] = {0xFFFF, 0x0001, 0x00, 0x80};
    EXPECT_EQ(makeTotalsReply(reply), golden);
    EXPECT_EQ(parseTotalsReply(golden), reply);
    EXPECT_FALSE(parseTotalsReply(bytesOf({{1, 3}})));
}

TEST(ReportPackets, LogReplyWordsSkipBytesSixToEight) {
    Packet golden = bytesOf({{1, 14}, {2, 0x1D}, {3, 0xD6}, {4, 0x40}, {5, 0x38}});
    // Bytes 6..8 hold no word; the second word starts at 9, then every four bytes to 29..32.
    golden[6] = 0xAA;
    golden[7] = 0xAA;
    golden[8] = 0xAA;
    golden[9] = 0x90;
    golden[10] = 0x44;
    golden[11] = 0x1F;
    golden[29] = 0xFF;
    golden[30] = 0xFF;
    golden[31] = 0xFF;
    golden[32] = 0xFF;
    const LogWords words{0x3840D61D, 0x001F4490, 0, 0, 0, 0, 0xFFFFFFFF};
    EXPECT_EQ(parseLogReply(golden), words);
    golden[6] = golden[7] = golden[8] = 0;
    EXPECT_EQ(makeLogReply(words), golden);
    EXPECT_FALSE(parseLogReply(bytesOf({{1, 2}})));
}

}  // namespace
}  // namespace qelto::protocol
