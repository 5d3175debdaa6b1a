// qelto-unitsim as a process on its pseudo-terminal, driven with hand-built frames.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "protocol/frame.h"
#include "sim_process.h"
#include "sim_test_helpers.h"
#include "support/test_env.h"

namespace qelto::sim::test {
namespace {

using namespace protocol;
using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

Bytes frameOf(const Packet& packet) {
    const Frame f = encodeFrame(packet);
    return {f.begin(), f.end()};
}

// CMD_NONE by hand: marker, PKT_POLL, zeros, check word 0xFFFE.
Bytes pollFrame() {
    Bytes f(35, 0);
    f[0] = 0x30;
    f[1] = 0x01;
    f[33] = 0xFF;
    f[34] = 0xFE;
    return f;
}

nlohmann::json readJson(const std::filesystem::path& path) {
    return nlohmann::json::parse(qelto::test::readFile(path));
}

TEST(UnitsimProcess, AnswersAPollWithItsIdentityByteForByte) {
    SimProcess sim({"--serial", "1", "--unit-type", "5", "--version", "2.0.5"});
    sim.openPort();
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
    EXPECT_EQ(sim.exchange(pollFrame(), 35), expected);
    EXPECT_EQ(sim.stop(), 0);
}

TEST(UnitsimProcess, DumpsWhatWasWrittenWhenStoppedByItsPid) {
    SimProcess sim({"--dump", "dump.json", "--request-log", "requests.jsonl"});
    sim.openPort();
    EXPECT_EQ(sim.exchange(frameOf(unlockRequest(1234)), 35).at(1), PKT_ACK);
    EXPECT_EQ(sim.exchange(frameOf(packet(PKT_PROGNAME, {{6, 4}, {7, 'M'}, {8, 'x'}})), 35).at(1),
              PKT_ACK);
    EXPECT_EQ(sim.exchange(frameOf(poll(CMD_LOCK)), 35).at(1), PKT_ACK);
    sim.closePort();
    ASSERT_EQ(sim.stop(), 0);

    const auto dump = readJson("dump.json");
    EXPECT_EQ(dump["kind"], "laundry");
    EXPECT_EQ(dump["programNames"][4], "Mx");
    EXPECT_EQ(dump["locked"], true);
    EXPECT_EQ(dump["serial"], 123456789);

    const std::string log = qelto::test::readFile("requests.jsonl");
    const auto firstLine = nlohmann::json::parse(log.substr(0, log.find('\n')));
    EXPECT_EQ(firstLine["seq"], 1);
    EXPECT_EQ(firstLine["id"], PKT_POLL);
    EXPECT_EQ(firstLine["cmd"], CMD_UNLOCK);
    EXPECT_EQ(firstLine["outcome"], "answered");
    EXPECT_EQ(firstLine["reply"], PKT_ACK);
}

TEST(UnitsimProcess, StartsFromAStateFileAndWritesThePathFile) {
    qelto::test::writeFile("state.json", std::string(R"({"pin": 4321, "description": "Laundry 2",)"
                                                     R"( "globals": {"pumpSpeeds": [55]}})"));
    SimProcess sim({"--state", "state.json", "--path-file", "pty.txt"});
    EXPECT_EQ(qelto::test::readFile("pty.txt"), sim.ptyPath() + "\n");
    sim.openPort();
    EXPECT_EQ(sim.exchange(frameOf(unlockRequest(1234)), 35).at(1), PKT_NAK);
    EXPECT_EQ(sim.exchange(frameOf(unlockRequest(4321)), 35).at(1), PKT_ACK);
    const Bytes globals = sim.exchange(frameOf(poll(CMD_GET_GLOBAL, 1)), 35);
    ASSERT_EQ(globals.size(), 35u);
    EXPECT_EQ(globals[6], 55);
    const Bytes description = sim.exchange(frameOf(poll(CMD_GET_UNIT_DESC)), 35);
    EXPECT_EQ(std::string(description.begin() + 6, description.begin() + 15), "Laundry 2");
}

TEST(UnitsimProcess, ServesAClientThatClosesAndReopensThePort) {
    SimProcess sim({"--dump", "dump.json"});
    for (int i = 0; i < 3; ++i) {
        sim.openPort();
        EXPECT_EQ(sim.exchange(pollFrame(), 35).size(), 35u) << "open " << i;
        sim.closePort();
    }
    sim.signal(SIGUSR1);
    for (int i = 0; i < 100 && !std::filesystem::exists("dump.json"); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(std::filesystem::exists("dump.json"));
}

TEST(UnitsimProcess, AWiredUnitStaysSilentToTheRadioSettingsRequest) {
    SimProcess sim({});
    sim.openPort();
    EXPECT_TRUE(
        sim.exchange(frameOf(packet(PKT_RF_SETTINGS, {{6, 1}, {7, 0xFF}})), 35, 150ms).empty());
    EXPECT_EQ(sim.exchange(pollFrame(), 35).size(), 35u);
}

TEST(UnitsimProcess, EachFaultOptionShowsOnTheLine) {
    struct Case {
        std::vector<std::string> args;
        const char* name;
    };
    const std::vector<Case> cases{{{"--drop-every", "2"}, "drop"},
                                  {{"--silent-after", "1"}, "silent"},
                                  {{"--nak-every", "2"}, "nak"},
                                  {{"--corrupt-every", "2"}, "corrupt"},
                                  {{"--rotate-every", "2:7"}, "rotate"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimProcess sim(c.args);
        sim.openPort();
        ASSERT_EQ(sim.exchange(pollFrame(), 35).size(), 35u);  // the first request is untouched
        const Bytes second = sim.exchange(pollFrame(), 35, 150ms);
        const std::string name = c.name;
        if (name == "drop" || name == "silent") {
            EXPECT_TRUE(second.empty());
            continue;
        }
        ASSERT_EQ(second.size(), 35u);
        Frame frame{};
        std::copy(second.begin(), second.end(), frame.begin());
        if (name == "nak") {
            EXPECT_EQ(frame[1], PKT_NAK);
            EXPECT_TRUE(frameCheckWordValid(frame));
        } else if (name == "corrupt") {
            EXPECT_EQ(frame[1], PKT_ACK);
            EXPECT_FALSE(frameCheckWordValid(frame));
        } else {
            EXPECT_EQ(frame[7], kStartMarker);
            EXPECT_TRUE(frameCheckWordValid(realignFrame(frame, 123456789)));
        }
    }
}

TEST(UnitsimProcess, ALegacyLaundryUnitSignsOnWithItsVersion) {
    SimProcess sim({"--kind", "legacy-laundry", "--version", "1.1.0", "--dump", "dump.json"});
    sim.openPort();
    EXPECT_EQ(sim.exchange({0xC8, 0xE8, 0x01, 0xC0, 0x8F}, 1), Bytes{0xE9});
    EXPECT_EQ(sim.exchange({0xE8}, 4), (Bytes{0x03, '1', '1', '0'}));
    ASSERT_EQ(sim.stop(), 0);
    const auto dump = readJson("dump.json");
    EXPECT_EQ(dump["kind"], "legacy-laundry");
    EXPECT_EQ(dump["config"]["pumpSpeed"], 80);
}

TEST(UnitsimProcess, RefusesABadStateFileWithAReason) {
    qelto::test::writeFile("state.json", std::string(R"({"unitType": "three"})"));
    const auto result = qelto::test::runProcess({QELTO_UNITSIM_PATH, "--state", "state.json"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("unitType"), std::string::npos);
    EXPECT_TRUE(result.out.empty());
}

}  // namespace
}  // namespace qelto::sim::test
