#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "legacy/legacy_link.h"
#include "link_fixture.h"

namespace qelto::legacy::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class LegacyPacketTest : public LegacyLinkTest {
  protected:
    void SetUp() override { ASSERT_TRUE(link.OpenPort("/dev/ttyLEGACY", kLegacyBaud)); }
};

// Type, address high and low, count, then the data, with the unit's pauses between the bytes.
TEST_F(LegacyPacketTest, SendGoesTypeAddressHighLowCountThenData) {
    unit.expect({0x40, 0x01, 0x2C, 0x03, 'A', 'B', 'C'});
    EXPECT_TRUE(link.SendPacket(0x40, 300, Bytes{'A', 'B', 'C'}));
    EXPECT_THAT(pauses, ElementsAre(100ms, 5ms, 5ms, 5ms, 100ms, 10ms, 10ms, 10ms));
    pauses.clear();
    unit.expect({0x80, 0x00, 0x00, 0x00});
    EXPECT_TRUE(link.SendPacket(0x80, 0, {}));
    EXPECT_THAT(pauses, ElementsAre(100ms, 5ms, 5ms, 5ms, 100ms));
}

TEST_F(LegacyPacketTest, SendStopsAtAByteThatDoesNotLeaveAndRefusesOver255Bytes) {
    EXPECT_FALSE(link.SendPacket(0x40, 0, Bytes(256, 0x20)));
    EXPECT_THAT(unit.written, IsEmpty());
    unit.expect({0x40, 0x00}).stuckWrite();
    EXPECT_FALSE(link.SendPacket(0x40, 25, Bytes{1, 2, 3}));
    EXPECT_THAT(unit.written, ElementsAre(0x40, 0x00));
}

TEST_F(LegacyPacketTest, GetReadsCountsFrom0To255AndFailsMidPacketKeepingWhatArrived) {
    Bytes largest{0x40, 0x07, 0xD0, 0xFF};
    for (int i = 0; i < 255; ++i) {
        largest.push_back(static_cast<std::uint8_t>(i));
    }
    unit.reply({0x80, 0x12, 0x34, 0x00}).reply(largest);
    LegacyPacket packet;
    packet.data.assign(300, 0xEE);  // whatever the caller had is replaced
    ASSERT_TRUE(link.GetPacket(packet));
    EXPECT_EQ(packet.type, 0x80);
    EXPECT_EQ(packet.address, 0x1234);
    EXPECT_THAT(packet.data, IsEmpty());
    ASSERT_TRUE(link.GetPacket(packet));
    EXPECT_EQ(packet.address, 2000);
    ASSERT_EQ(packet.data.size(), 255U);
    EXPECT_EQ(packet.data.back(), 254);

    unit.reply({0x40, 0x00, 0x19, 0x05, 'N', 'A'}).silence();
    EXPECT_FALSE(link.GetPacket(packet));
    EXPECT_THAT(packet.data, ElementsAre('N', 'A'));
}

}  // namespace
}  // namespace qelto::legacy::test
