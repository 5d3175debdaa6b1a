// The frames themselves are checked byte for byte by the link tests, whose scripted unit expects
// the frames of link_fixture.h and unit_script.h, worked out by hand.
#include "legacy/crc16.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "legacy/command_frame.h"

namespace qelto::legacy {
namespace {

using ::testing::ElementsAre;

TEST(Crc16Arc, TheCheckValueAndTheSignOnCodeWorkedOutOnPaper) {
    const std::vector<std::uint8_t> digits{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(crc16Arc(digits), 0xBB3D);
    // E8 leaves 0x4E00, then 01 leaves 0xC08F.
    EXPECT_EQ(crc16Arc(std::vector<std::uint8_t>{0xE8, 0x01}), 0xC08F);
}

TEST(PasswordBytes, AreTheTwosComplementWordHighByteFirst) {
    EXPECT_THAT(passwordBytes(-1), ElementsAre(0xFF, 0xFF));
    EXPECT_THAT(passwordBytes(-32768), ElementsAre(0x80, 0x00));
    EXPECT_EQ(passwordCommandCode(0xD3), 0xD3) << "an odd code stays as it is";
}

}  // namespace
}  // namespace qelto::legacy
