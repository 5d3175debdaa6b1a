// The dongles in-process: the Bluetooth dongle's command parsing, which no pseudo-terminal can
// time precisely, and the options that set the dongles up.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "protocol/frame.h"
#include "sim/ble_dongle_port.h"
#include "sim/dongle_setup.h"
#include "sim/sim_state.h"
#include "sim_test_helpers.h"

namespace qelto::sim {
namespace {

using namespace protocol;
using Bytes = std::vector<std::uint8_t>;

Bytes bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string text(const Bytes& data) {
    return {data.begin(), data.end()};
}

std::unique_ptr<LaundryPort> unitWithSerial(std::uint32_t serial) {
    Identity identity;
    identity.serial = serial;
    return std::make_unique<LaundryPort>(LaundryUnit(factoryMemory(identity, 1234)), FaultPlan{});
}

BleDonglePort twoModules() {
    std::vector<BleModule> modules;
    modules.push_back({{"KNW_A1", 72}, unitWithSerial(111)});
    modules.push_back({{"KNW_B2", 5}, unitWithSerial(222)});
    return BleDonglePort(std::move(modules));
}

TEST(BleDongle, ListsItsModulesInTheDonglesOwnFormat) {
    BleDonglePort dongle = twoModules();
    EXPECT_EQ(text(dongle.receive(bytes("AT+DISC?"))),
              "OK+DISCS\r\n"
              "OK+DIS0:0CB2B7000101\r\nOK+RSSI:-072\r\nOK+NAME:KNW_A1\r\n"
              "OK+DIS1:0CB2B7000202\r\nOK+RSSI:-005\r\nOK+NAME:KNW_B2\r\n"
              "OK+DISCE\r\n");
}

TEST(BleDongle, AnswersATOnlyOnceItIsClearNoCommandFollows) {
    BleDonglePort dongle = twoModules();
    EXPECT_TRUE(dongle.receive(bytes("A")).empty());
    EXPECT_TRUE(dongle.receive(bytes("T")).empty());
    ASSERT_TRUE(dongle.quietWanted());
    EXPECT_EQ(text(dongle.onQuiet()), "OK");
    EXPECT_FALSE(dongle.quietWanted());

    // Line noise first, then "AT" with another command hard behind it.
    const std::string burst = text(dongle.receive(bytes(std::string("\0zAT", 4) + "AT+DISC?")));
    EXPECT_EQ(burst.substr(0, 10), "OKOK+DISCS");

    // A command cut short by a pause is forgotten.
    EXPECT_TRUE(dongle.receive(bytes("AT+DI")).empty());
    EXPECT_TRUE(dongle.onQuiet().empty());
    EXPECT_TRUE(dongle.receive(bytes("SC?")).empty());
}

TEST(BleDongle, PairsWithAModuleThatExistsAndThenOnlyPassesBytesThrough) {
    BleDonglePort dongle = twoModules();
    EXPECT_EQ(text(dongle.receive(bytes("AT+CONN7"))), "K-C7");
    EXPECT_FALSE(dongle.paired());

    // The request right behind the command in the same burst already reaches the unit.
    const Frame poll = encodeFrame(test::poll(CMD_NONE));
    Bytes burst = bytes("AT+CONN1");
    burst.insert(burst.end(), poll.begin(), poll.end());
    const Bytes reply = dongle.receive(burst);
    ASSERT_EQ(reply.size(), 4u + kFrameSize);
    EXPECT_EQ(text(Bytes(reply.begin(), reply.begin() + 4)), "K+C1");
    Frame frame{};
    std::copy(reply.begin() + 4, reply.end(), frame.begin());
    EXPECT_EQ(packetFromFrame(frame).u32(2), 222u);
    EXPECT_EQ(dongle.paired(), 1u);

    EXPECT_TRUE(dongle.receive(bytes("AT")).empty());
    EXPECT_FALSE(dongle.quietWanted());
}

TEST(DongleSetup, RefusesOptionsThatMakeNoSense) {
    SimSetup setup;
    const auto rf = [&](std::vector<std::string> units) {
        DongleSetup dongle;
        dongle.rf = true;
        dongle.rfUnits = std::move(units);
        return makeDongle(setup, dongle, nullptr);
    };
    const auto bt = [&](std::vector<std::string> modules) {
        DongleSetup dongle;
        dongle.bluetooth = true;
        dongle.bluetoothModules = std::move(modules);
        return makeDongle(setup, dongle, nullptr);
    };
    EXPECT_NO_THROW(rf({"3:40", "9:255"}));
    EXPECT_THROW(rf({"9:40", "9:50"}), StateError);
    EXPECT_THROW(rf({"255:40"}), StateError);
    EXPECT_THROW(rf({"9:256"}), StateError);
    EXPECT_THROW(rf({"9"}), StateError);
    EXPECT_THROW(rf({"9:40:"}), StateError);
    EXPECT_THROW(rf({"9:40:missing.json"}), StateError);

    EXPECT_NO_THROW(bt({"KNW_A1:127"}));
    EXPECT_THROW(bt({"KNW_A1:128"}), StateError);
    EXPECT_THROW(bt({"KNW A1:50"}), StateError);
    EXPECT_THROW(bt({":50"}), StateError);
    EXPECT_THROW(bt(std::vector<std::string>(11, "KNW_A1:50")), StateError);

    setup.kind = "legacy-laundry";
    EXPECT_THROW(rf({}), StateError);
}

}  // namespace
}  // namespace qelto::sim
