#include "legacy/crc16.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "legacy/command_frame.h"

namespace qelto::legacy {
namespace {

using ::testing::ElementsAre;

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(Crc16Arc, TheCatalogueCheckValueOf123456789IsBB3D) {
    EXPECT_EQ(crc16Arc(bytesOf("123456789")), 0xBB3D);
}

TEST(Crc16Arc, CoversTheSignOnCodeAndDataByte) {
    // Shifted out bit by bit on paper: E8 leaves 0x4E00, then 01 leaves 0xC08F.
    const std::vector<std::uint8_t> codeAndData{0xE8, 0x01};
    EXPECT_EQ(crc16Arc(codeAndData), 0xC08F);
}

TEST(CommandFrame, SignOnIsC8E801ThenTheCrcHighByteFirst) {
    EXPECT_THAT(commandFrame(kCmdSignOn, 1), ElementsAre(0xC8, 0xE8, 0x01, 0xC0, 0x8F));
}

TEST(CommandFrame, PasswordCommandsGoOutWithBitZeroSet) {
    EXPECT_EQ(passwordCommandCode(kCmdReadConfig), 0xD3);
    EXPECT_EQ(passwordCommandCode(0xD3), 0xD3);
    EXPECT_THAT(commandFrame(passwordCommandCode(kCmdReadConfig), 0),
                ElementsAre(0xC8, 0xD3, 0x00, 0x30, 0x5D));
}

TEST(CommandFrame, OrdinaryCommandsCarryDataZero) {
    EXPECT_THAT(commandFrame(kCmdReportSettings, 0), ElementsAre(0xC8, 0x7A, 0x00, 0x60, 0x23));
}

TEST(PasswordBytes, AreTheTwosComplementWordHighByteFirst) {
    EXPECT_THAT(passwordBytes(-1), ElementsAre(0xFF, 0xFF));
    EXPECT_THAT(passwordBytes(1234), ElementsAre(0x04, 0xD2));
    EXPECT_THAT(passwordBytes(-32768), ElementsAre(0x80, 0x00));
}

}  // namespace
}  // namespace qelto::legacy
