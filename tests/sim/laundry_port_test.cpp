// The serial side of the simulated laundry unit in-process: framing, resynchronisation and each
// fault it can inject.
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
using Bytes = std::vector<std::uint8_t>;

// CMD_NONE, worked out by hand: sum 0x0001, check word 0xFFFE.
const Bytes kPollFrame = [] {
    Bytes f(35, 0);
    f[0] = 0x30;
    f[1] = 0x01;
    f[33] = 0xFF;
    f[34] = 0xFE;
    return f;
}();

LaundryPort makePort(FaultOptions faults = {}, Identity identity = {}) {
    return LaundryPort(LaundryUnit(factoryMemory(identity, 1234)), FaultPlan(faults));
}

std::vector<Frame> frames(const Bytes& bytes) {
    std::vector<Frame> out;
    for (std::size_t at = 0; at + kFrameSize <= bytes.size(); at += kFrameSize) {
        Frame f{};
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), kFrameSize, f.begin());
        out.push_back(f);
    }
    return out;
}

// Noise and false markers before a frame are skipped, a frame sent in pieces waits for its rest,
// and one with a wrong check word is dropped.
TEST(FrameReader, FindsEachGoodFrameInTheByteStream) {
    FrameReader reader;
    auto broken = kPollFrame;
    broken[34] = 0xFD;
    reader.push(Bytes{0x11, 0x30, 0x30, 0x02, 0x30});
    reader.push(broken);
    reader.push(std::span(kPollFrame).first(20));
    EXPECT_FALSE(reader.next());
    reader.push(std::span(kPollFrame).subspan(20));
    const auto request = reader.next();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->id(), PKT_POLL);
    EXPECT_FALSE(reader.next());
    EXPECT_EQ(reader.pending(), 0u);
    EXPECT_EQ(reader.discarded(), 5u + kFrameSize);
}

TEST(LaundryPort, AnswersAPollWithItsIdentityFrameByteForByte) {
    LaundryPort port =
        makePort({}, Identity{.serial = 1, .unitType = 5, .version = {'2', '0', '5'}});
    // Serial 1, product code 1, type 5, "205", processor serial 0x00C0FFEE; sum 0x034D.
    Bytes expected(35, 0);
    expected[0] = 0x30;
    expected[1] = 0x02;
    expected[2] = 0x01;
    expected[6] = 0x01;
    expected[9] = 0x05;
    expected[11] = '2';
    expected[12] = '0';
    expected[13] = '5';
    expected[19] = 0xEE;
    expected[20] = 0xFF;
    expected[21] = 0xC0;
    expected[33] = 0xFC;
    expected[34] = 0xB2;
    EXPECT_EQ(port.receive(kPollFrame), expected);
}

// A refused request is not carried out: the unlock leaves the unit locked. How the PC meets each
// fault on the line (dropped, silent, corrupted, rotated, refused) is driven against
// qelto-unitsim in tests/integration.
TEST(LaundryPort, ARefusedRequestIsNotCarriedOut) {
    LaundryPort refusing = makePort({.nakEvery = 2});
    Bytes pollThenUnlock(kPollFrame);
    const Frame unlock = encodeFrame(unlockRequest(1234));
    pollThenUnlock.insert(pollThenUnlock.end(), unlock.begin(), unlock.end());
    const auto refused = frames(refusing.receive(pollThenUnlock));
    ASSERT_EQ(refused.size(), 2u);
    EXPECT_EQ(refused[0][1], PKT_ACK);
    EXPECT_EQ(refused[1][1], PKT_NAK);
    EXPECT_TRUE(frameCheckWordValid(refused[1]));
    EXPECT_TRUE(refusing.unit().locked());
}

TEST(FaultPlan, RotationWantsTwoNumbersAndAShiftInsideTheFrame) {
    FaultOptions faults;
    for (const char* bad : {"3", "3:0", "3:35", "x:4"}) {
        EXPECT_FALSE(parseRotation(bad, faults)) << bad;
    }
    EXPECT_TRUE(parseRotation("3:34", faults));
    EXPECT_EQ(faults.rotateEvery, 3u);
    EXPECT_EQ(faults.rotateBy, 34u);
}

}  // namespace
}  // namespace qelto::sim
