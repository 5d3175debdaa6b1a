// The serial side of the laundry unit in-process: framing, resynchronisation and each fault.
#include "sim/laundry_port.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "protocol/frame.h"
#include "sim/frame_reader.h"
#include "sim_test_helpers.h"

namespace qelto::sim {
namespace {

using namespace protocol;
using namespace test;

// CMD_NONE, worked out by hand: sum 0x0001, check word 0xFFFE.
const std::vector<std::uint8_t> kPollFrame = [] {
    std::vector<std::uint8_t> f(35, 0);
    f[0] = 0x30;
    f[1] = 0x01;
    f[33] = 0xFF;
    f[34] = 0xFE;
    return f;
}();

LaundryPort makePort(FaultOptions faults = {}) {
    return LaundryPort(LaundryUnit(factoryMemory(Identity{}, 1234)), FaultPlan(faults));
}

std::vector<std::uint8_t> polls(int n) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < n; ++i) {
        bytes.insert(bytes.end(), kPollFrame.begin(), kPollFrame.end());
    }
    return bytes;
}

std::vector<Frame> frames(const std::vector<std::uint8_t>& bytes) {
    std::vector<Frame> out;
    for (std::size_t at = 0; at + kFrameSize <= bytes.size(); at += kFrameSize) {
        Frame f{};
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), kFrameSize, f.begin());
        out.push_back(f);
    }
    return out;
}

TEST(FrameReader, FindsTheFrameBehindNoiseAndFalseMarkers) {
    FrameReader reader;
    std::vector<std::uint8_t> bytes{0x11, 0x30, 0x30, 0x02, 0x30};
    bytes.insert(bytes.end(), kPollFrame.begin(), kPollFrame.end());
    reader.push(bytes);
    const auto request = reader.next();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->id(), PKT_POLL);
    EXPECT_FALSE(reader.next());
    EXPECT_EQ(reader.pending(), 0u);
    EXPECT_EQ(reader.discarded(), 5u);
}

TEST(FrameReader, WaitsForTheRestOfAFrameSentInPieces) {
    FrameReader reader;
    reader.push(std::span(kPollFrame).first(20));
    EXPECT_FALSE(reader.next());
    reader.push(std::span(kPollFrame).subspan(20));
    EXPECT_TRUE(reader.next());
}

TEST(FrameReader, DropsAFrameWithAWrongCheckWord) {
    FrameReader reader;
    auto broken = kPollFrame;
    broken[34] = 0xFD;
    reader.push(broken);
    reader.push(kPollFrame);
    ASSERT_TRUE(reader.next());
    EXPECT_FALSE(reader.next());
}

TEST(LaundryPort, AnswersEachFrameWithAValidFrame) {
    LaundryPort port = makePort();
    const auto out = port.receive(polls(2));
    const auto replies = frames(out);
    ASSERT_EQ(out.size(), 70u);
    for (const Frame& f : replies) {
        EXPECT_TRUE(frameCheckWordValid(f));
        EXPECT_EQ(f[1], PKT_ACK);
    }
}

TEST(LaundryPort, DropEveryLeavesEveryNthRequestUnanswered) {
    LaundryPort port = makePort({.dropEvery = 2});
    EXPECT_EQ(port.receive(polls(4)).size(), 2 * kFrameSize);
}

TEST(LaundryPort, NakEveryRefusesEveryNthRequestWithoutCarryingItOut) {
    LaundryPort port = makePort({.nakEvery = 2});
    Packet unlock = unlockRequest(1234);
    const Frame unlockFrame = encodeFrame(unlock);
    std::vector<std::uint8_t> bytes(kPollFrame);
    bytes.insert(bytes.end(), unlockFrame.begin(), unlockFrame.end());
    const auto replies = frames(port.receive(bytes));
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0][1], PKT_ACK);
    EXPECT_EQ(replies[1][1], PKT_NAK);
    EXPECT_TRUE(port.unit().locked());
}

TEST(LaundryPort, CorruptEverySpoilsTheCheckWordOfEveryNthReply) {
    LaundryPort port = makePort({.corruptEvery = 3});
    const auto replies = frames(port.receive(polls(3)));
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_TRUE(frameCheckWordValid(replies[0]));
    EXPECT_TRUE(frameCheckWordValid(replies[1]));
    EXPECT_FALSE(frameCheckWordValid(replies[2]));
}

TEST(LaundryPort, RotateEverySendsTheTailFirstAndThePcCanRealignIt) {
    FaultOptions faults;
    ASSERT_TRUE(parseRotation("1:10", faults));
    LaundryPort port = makePort(faults);
    const auto replies = frames(port.receive(polls(1)));
    ASSERT_EQ(replies.size(), 1u);
    const Frame& rotated = replies[0];
    EXPECT_EQ(rotated[10], kStartMarker);
    const Frame aligned = realignFrame(rotated, 123456789);
    EXPECT_TRUE(frameCheckWordValid(aligned));
    EXPECT_EQ(aligned[1], PKT_ACK);
}

TEST(LaundryPort, SilentAfterAnswersNothingOnceTheCountIsReached) {
    LaundryPort port = makePort({.silentAfter = 2});
    EXPECT_EQ(port.receive(polls(2)).size(), 2 * kFrameSize);
    EXPECT_TRUE(port.receive(polls(3)).empty());
}

TEST(FaultPlan, RotationWantsTwoNumbersAndAShiftInsideTheFrame) {
    FaultOptions faults;
    EXPECT_FALSE(parseRotation("3", faults));
    EXPECT_FALSE(parseRotation("3:0", faults));
    EXPECT_FALSE(parseRotation("3:35", faults));
    EXPECT_FALSE(parseRotation("x:4", faults));
    EXPECT_TRUE(parseRotation("3:34", faults));
    EXPECT_EQ(faults.rotateEvery, 3u);
    EXPECT_EQ(faults.rotateBy, 34u);
}

}  // namespace
}  // namespace qelto::sim
