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

// Units in order, other devices skipped; the strength letter changes at 72 and after 86; exactly
// the 19th to 17th bytes before the name's end are read (digits on every side, so a read one byte
// off shows as another strength), never before the reply's first byte; a name cut off by the end
// of the reply is not listed.
TEST(BluetoothModuleList, ReadsEachUnitsStrengthAtItsFixedDistance) {
    const struct {
        std::string reply;
        std::vector<std::string> listed;
    } cases[] = {
        {"OK+DISCS\r\n" + entry(0, "058", "KNW_A1") + entry(1, "064", "Phone") +
             entry(2, "091", "KNW_7Z\xE9") + "OK+DISCE\r\n",
         {"KNW_A1  (H -058)", "KNW_7Z  (L -091)"}},
        {entry(0, "000", "KNW_B2"), {"KNW_B2  (H -000)"}},
        {entry(0, "071", "KNW_B2"), {"KNW_B2  (H -071)"}},
        {entry(0, "072", "KNW_B2"), {"KNW_B2  (M -072)"}},
        {entry(0, "086", "KNW_B2"), {"KNW_B2  (M -086)"}},
        {entry(0, "087", "KNW_B2"), {"KNW_B2  (L -087)"}},
        {entry(0, "099", "KNW_B2"), {"KNW_B2  (L -099)"}},
        {"0876543210987KNW_Q7", {"KNW_Q7  (L -087)"}},
        {"KNW_A1", {}},
        {"012345678901KNW_A1", {}},  // the first strength byte would lie before the reply
        {"0123456789012KNW_A1", {"KNW_A1  (H -012)"}},
        {"E:KNW_X9\r\n" + entry(1, "080", "KNW_A2"), {"KNW_A2  (M -080)"}},
        {entry(0, "070", "KNW_A1") + entry(1, "070", "KNW_B2").substr(0, 49), {"KNW_A1  (H -070)"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse(c.reply), c.listed) << c.reply;
    }
}

}  // namespace
}  // namespace qelto::comms
