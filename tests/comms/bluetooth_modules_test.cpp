// The dongle's module list read at the fixed distances before each unit name.
#include "comms/bluetooth_modules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qelto::comms {
namespace {

std::vector<std::string> parse(const std::string& text) {
    return parseModuleList(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// One module as the dongle lists it: number and address, strength, name.
std::string entry(int number, const std::string& strength, const std::string& name) {
    return "OK+DIS" + std::to_string(number) + ":0CB2B7000101\r\nOK+RSSI:-" + strength +
           "\r\nOK+NAME:" + name + "\r\n";
}

TEST(BluetoothModuleList, ListsEveryUnitInOrderAndSkipsOtherDevices) {
    const std::string reply = "OK+DISCS\r\n" + entry(0, "058", "KNW_A1") +
                              entry(1, "064", "Phone") + entry(2, "091", "KNW_7Z\xE9") +
                              "OK+DISCE\r\n";
    EXPECT_EQ(parse(reply), (std::vector<std::string>{"KNW_A1  (H -058)", "KNW_7Z  (L -091)"}));
}

TEST(BluetoothModuleList, StrengthLetterChangesAt72AndAfter86) {
    const std::vector<std::pair<std::string, char>> cases{{"000", 'H'}, {"071", 'H'}, {"072", 'M'},
                                                          {"086", 'M'}, {"087", 'L'}, {"099", 'L'}};
    for (const auto& [strength, letter] : cases) {
        const auto lines = parse(entry(0, strength, "KNW_B2"));
        ASSERT_EQ(lines.size(), 1u) << strength;
        EXPECT_EQ(lines[0], std::string("KNW_B2  (") + letter + " -" + strength + ")");
    }
}

TEST(BluetoothModuleList, ReadsExactlyThe19thTo17thBytesBeforeTheNameEnd) {
    // Digits on every side, so a read one byte off shows as another strength.
    const auto lines = parse("0876543210987KNW_Q7");
    EXPECT_EQ(lines, std::vector<std::string>{"KNW_Q7  (L -087)"});
}

TEST(BluetoothModuleList, ANameWithNoRoomForItsStrengthIsSkipped) {
    // At offset 12 the first strength byte would lie before the reply's first byte.
    EXPECT_TRUE(parse("KNW_A1").empty());
    EXPECT_TRUE(parse("012345678901KNW_A1").empty());
    EXPECT_EQ(parse("0123456789012KNW_A1"), std::vector<std::string>{"KNW_A1  (H -012)"});
    // The unit listed after a cut-off start is still found.
    EXPECT_EQ(parse("E:KNW_X9\r\n" + entry(1, "080", "KNW_A2")),
              std::vector<std::string>{"KNW_A2  (M -080)"});
}

TEST(BluetoothModuleList, ANameCutOffByTheEndOfTheReplyIsNotListed) {
    EXPECT_EQ(parse(entry(0, "070", "KNW_A1") + entry(1, "070", "KNW_B2").substr(0, 49)),
              std::vector<std::string>{"KNW_A1  (H -070)"});
    EXPECT_TRUE(parse("").empty());
}

}  // namespace
}  // namespace qelto::comms
