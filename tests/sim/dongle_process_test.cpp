// qelto-unitsim as an RF dongle and as a Bluetooth LE dongle, driven through the real serial
// port code and the PC's own packet operations and Bluetooth commands.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "comms/bluetooth_dongle.h"
#include "comms/bluetooth_modules.h"
#include "integration/sim_link.h"
#include "protocol/packet_catalogue.h"
#include "protocol/unit_operations.h"
#include "sim_test_helpers.h"

namespace qelto::test {
namespace {

using namespace protocol;
using nlohmann::json;
using namespace std::chrono_literals;

std::vector<json> logLines(const std::filesystem::path& file) {
    std::vector<json> lines;
    std::istringstream in(readFile(file));
    for (std::string line; std::getline(in, line);) {
        lines.push_back(json::parse(line));
    }
    return lines;
}

bool logged(const std::vector<json>& lines, const json& fields) {
    for (const json& line : lines) {
        bool all = true;
        for (const auto& [key, value] : fields.items()) {
            all = all && line.contains(key) && line[key] == value;
        }
        if (all) {
            return true;
        }
    }
    return false;
}

std::string unitState(const char* name, std::uint32_t serial, const char* description) {
    const auto file = testDir() / name;
    writeFile(file, json{{"serial", serial}, {"description", description}}.dump());
    return file.string();
}

// The serial number a unit reports to a poll; 0 when nothing answered.
std::uint32_t polledSerial(SimLink& sim) {
    UnitChannel channel(*sim.link);
    IdentityPart identity;
    return SimplePoll(identity, channel, 1) ? identity.unit.serial : 0;
}

std::optional<RfSettingsReply> rfSettings(SimLink& sim, std::uint8_t rfChannel) {
    UnitChannel channel(*sim.link);
    RfSettingsReply reply;
    return GetRfSettings(rfChannel, reply, channel) ? std::optional(reply) : std::nullopt;
}

TEST(RfDongleProcess, RelaysToTheUnitOnTheChannelItIsTunedTo) {
    SimLink sim({"--rf-dongle", "--rf-unit", "9:180:" + unitState("a.json", 111, "Tunnel A"),
                 "--rf-unit", "15:60:" + unitState("b.json", 222, "Tunnel B")});

    // Fresh from the box the radio sits on channel 0, where nobody listens.
    auto settings = rfSettings(sim, kAnyRfChannel);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->settings[1], 0);
    EXPECT_EQ(rfSignalStrength(*settings), 0);
    EXPECT_EQ(polledSerial(sim), 0u);

    ASSERT_TRUE(rfSettings(sim, 9));
    settings = rfSettings(sim, kAnyRfChannel);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->settings[1], 9);
    EXPECT_EQ(rfSignalStrength(*settings), 180);
    EXPECT_EQ(polledSerial(sim), 111u);

    ASSERT_TRUE(rfSettings(sim, 15));
    EXPECT_EQ(rfSignalStrength(*rfSettings(sim, kAnyRfChannel)), 60);
    EXPECT_EQ(polledSerial(sim), 222u);
    UnitChannel channel(*sim.link);
    ASSERT_TRUE(channel.askAck(sim::test::unlockRequest(1234)));
    ASSERT_TRUE(SetUnitDescription("Moved", channel));
    ASSERT_EQ(sim.sim.stop(), 0);

    const json dump = json::parse(readFile(sim.sim.dumpFile()));
    ASSERT_EQ(dump.size(), 2u);
    EXPECT_EQ(dump[0]["description"], "Tunnel A");
    EXPECT_EQ(dump[0]["rfChannel"], 9);
    EXPECT_EQ(dump[1]["description"], "Moved");
    EXPECT_EQ(dump[1]["signal"], 60);

    const auto lines = logLines(sim.sim.requestLog());
    EXPECT_TRUE(logged(lines, {{"dongle", "rf"}, {"channel", 0}, {"outcome", "no unit"}}));
    EXPECT_TRUE(logged(lines, {{"dongle", "rf"}, {"requested", 15}, {"outcome", "switched"}}));
    EXPECT_TRUE(logged(lines, {{"unit", 1}, {"channel", 15}, {"id", PKT_UNIT_DESC}}));
    EXPECT_FALSE(logged(lines, {{"unit", 0}, {"id", PKT_UNIT_DESC}}));
}

TEST(RfDongleProcess, ARefusedChannelGetsNoAnswerAndTheRadioStaysWhereItWas) {
    SimLink sim({"--rf-dongle", "--rf-unit", "9:100", "--rf-refuse-channel", "21"});
    ASSERT_TRUE(rfSettings(sim, 9));
    EXPECT_FALSE(rfSettings(sim, 21));
    const auto settings = rfSettings(sim, kAnyRfChannel);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->settings[1], 9);
    EXPECT_EQ(polledSerial(sim), 123456789u);
    ASSERT_EQ(sim.sim.stop(), 0);
    EXPECT_TRUE(logged(logLines(sim.sim.requestLog()),
                       {{"dongle", "rf"}, {"requested", 21}, {"outcome", "refused"}}));
}

TEST(BleDongleProcess, DiscoversPairsAndThenPassesPacketsThroughToTheUnit) {
    SimLink sim({"--bt-dongle", "--bt-module", "KNW_A1:58:" + unitState("a.json", 111, "A"),
                 "--bt-module", "KNW_B2:80:" + unitState("b.json", 222, "B"), "--bt-module",
                 "Phone:40"});
    std::atomic<bool> abort{false};
    comms::BluetoothTimings timings;
    timings.byteRead = 500ms;
    comms::BluetoothDongle dongle(*sim.port, abort, realSleep, timings);

    // In command mode the dongle is no unit.
    EXPECT_EQ(polledSerial(sim), 0u);
    ASSERT_TRUE(dongle.detect());
    const auto lines = comms::parseModuleList(dongle.discover());
    EXPECT_EQ(lines, (std::vector<std::string>{"KNW_A1  (H -058)", "KNW_B2  (M -080)"}));

    EXPECT_EQ(dongle.pair(5), comms::PairResult::Refused);
    ASSERT_EQ(dongle.pair(1), comms::PairResult::Paired);
    // Paired, the line is a wired unit: no radio answers, the unit does.
    EXPECT_FALSE(rfSettings(sim, kAnyRfChannel));
    EXPECT_EQ(polledSerial(sim), 222u);
    ASSERT_EQ(sim.sim.stop(), 0);

    const json dump = json::parse(readFile(sim.sim.dumpFile()));
    ASSERT_EQ(dump.size(), 3u);
    EXPECT_EQ(dump[1]["paired"], true);
    EXPECT_EQ(dump[0]["paired"], false);
    const auto log = logLines(sim.sim.requestLog());
    EXPECT_TRUE(logged(
        log,
        {{"dongle", "ble"}, {"command", "AT+CONN"}, {"outcome", "paired"}, {"module", "KNW_B2"}}));
    EXPECT_TRUE(logged(log, {{"module", "KNW_B2"}, {"id", PKT_POLL}, {"outcome", "answered"}}));
}

}  // namespace
}  // namespace qelto::test
