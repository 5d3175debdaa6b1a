// The PC side of the packet link (real serial port code, real framing, real retries) against the
// simulated unit on a pseudo-terminal, with each kind of fault the simulator can inject.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "integration/sim_link.h"
#include "logs/comms_log.h"
#include "protocol/packet_catalogue.h"
#include "support/test_env.h"

namespace qelto {
namespace {

using namespace std::chrono_literals;
using protocol::LinkStatus;
using protocol::Packet;

using test::SimLink;

std::vector<nlohmann::json> requestsOf(const test::SimProcess& sim) {
    std::vector<nlohmann::json> out;
    std::ifstream in(sim.requestLog());
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            out.push_back(nlohmann::json::parse(line));
        }
    }
    return out;
}

TEST(LinkAgainstSimulator, APollIsAnsweredWithTheUnitsIdentity) {
    SimLink s;
    Packet reply;
    ASSERT_EQ(s.exchange(protocol::makePoll(protocol::CMD_NONE), reply), LinkStatus::Ok);
    const auto identity = protocol::parseAck(reply);
    ASSERT_TRUE(identity.has_value()) << "reply id " << int(reply.id());
    EXPECT_EQ(identity->serial, 123456789u);
    EXPECT_EQ(identity->unitTypeIndex, 3);
    EXPECT_EQ(identity->version, (std::array<std::uint8_t, 3>{'1', '3', '0'}));
}

TEST(LinkAgainstSimulator, TheRightPinUnlocksAndAWrongOneIsRefused) {
    SimLink s({"--pin", "4321"});
    Packet reply;
    ASSERT_EQ(s.exchange(protocol::makeUnlock(1234), reply), LinkStatus::Ok);
    EXPECT_EQ(reply.id(), protocol::PKT_NAK);
    ASSERT_EQ(s.exchange(protocol::makeUnlock(4321), reply), LinkStatus::Ok);
    EXPECT_EQ(reply.id(), protocol::PKT_ACK);
    ASSERT_EQ(s.exchange(protocol::makePoll(protocol::CMD_LOCK), reply), LinkStatus::Ok);
    EXPECT_EQ(reply.id(), protocol::PKT_ACK);
}

TEST(LinkAgainstSimulator, ADroppedReplyIsRetriedAndASingleAttemptFails) {
    SimLink s({"--drop-every", "2"});
    Packet reply;
    EXPECT_EQ(s.exchange(protocol::makePoll(protocol::CMD_NONE), reply), LinkStatus::Ok);
    // The second request is dropped; the retry (third request) is answered.
    EXPECT_EQ(s.exchange(protocol::makePoll(protocol::CMD_NONE), reply), LinkStatus::Ok);
    EXPECT_EQ(reply.id(), protocol::PKT_ACK);
    EXPECT_EQ(requestsOf(s.sim).size(), 3u);
    // The fourth is dropped and one attempt is all it gets.
    EXPECT_EQ(s.exchange(protocol::makePoll(protocol::CMD_NONE), reply, 1), LinkStatus::Failed);
}

TEST(LinkAgainstSimulator, ACorruptedCheckWordIsRetried) {
    SimLink s({"--corrupt-every", "1"});
    Packet reply;
    EXPECT_EQ(s.exchange(protocol::makePoll(protocol::CMD_NONE), reply, 3), LinkStatus::Failed);
    EXPECT_EQ(requestsOf(s.sim).size(), 3u);

    SimLink t({"--corrupt-every", "2"});
    EXPECT_EQ(t.exchange(protocol::makePoll(protocol::CMD_NONE), reply), LinkStatus::Ok);
    EXPECT_EQ(t.exchange(protocol::makePoll(protocol::CMD_NONE), reply), LinkStatus::Ok);
    EXPECT_EQ(reply.id(), protocol::PKT_ACK);
    EXPECT_EQ(requestsOf(t.sim).size(), 3u);
}

TEST(LinkAgainstSimulator, ARotatedReplyOfTheSelectedUnitIsRealigned) {
    SimLink s({"--rotate-every", "1:10"});
    s.state.selectedSerial = 123456789;
    Packet reply;
    ASSERT_EQ(s.exchange(protocol::makePoll(protocol::CMD_NONE), reply), LinkStatus::Ok);
    ASSERT_TRUE(protocol::parseAck(reply).has_value());
    EXPECT_EQ(protocol::parseAck(reply)->serial, 123456789u);
    EXPECT_EQ(requestsOf(s.sim).size(), 1u) << "realigned at the first attempt";
}

TEST(LinkAgainstSimulator, AUnitThatGoesSilentFailsEveryAttempt) {
    SimLink s({"--silent-after", "1"});
    Packet reply;
    EXPECT_EQ(s.exchange(protocol::makePoll(protocol::CMD_NONE), reply), LinkStatus::Ok);
    EXPECT_EQ(s.exchange(protocol::makePoll(protocol::CMD_NONE), reply, 3), LinkStatus::Failed);
    EXPECT_EQ(reply.id(), protocol::PKT_NONE);
}

TEST(LinkAgainstSimulator, ANakIsALinkSuccessForTheCallerToJudge) {
    SimLink s({"--nak-every", "1"});
    Packet reply;
    EXPECT_EQ(s.exchange(protocol::makePoll(protocol::CMD_NONE), reply), LinkStatus::Ok);
    EXPECT_EQ(reply.id(), protocol::PKT_NAK);
}

TEST(LinkAgainstSimulator, CancelDuringRetriesStopsAtTheNextAttempt) {
    SimLink s({"--drop-every", "1"});
    s.abort = true;
    Packet reply;
    EXPECT_EQ(s.exchange(protocol::makePoll(protocol::CMD_NONE), reply), LinkStatus::Aborted);
    EXPECT_EQ(requestsOf(s.sim).size(), 1u);
}

TEST(LinkAgainstSimulator, EveryPacketOfAnExchangeIsLogged) {
    logs::CommsLog log;
    log.setEnabled(true);
    SimLink s({}, &log);
    const Packet poll = protocol::makePoll(protocol::CMD_NONE);
    s.link->logNew(poll);
    Packet reply;
    ASSERT_EQ(s.exchange(poll, reply), LinkStatus::Ok);
    const std::string csv = test::readFile(test::testDir() / "CommsLog.csv");
    EXPECT_NE(csv.find("*NEW*,PKT_POLL,CMD_NONE"), std::string::npos) << csv;
    EXPECT_NE(csv.find("P>>>,PKT_POLL,CMD_NONE"), std::string::npos) << csv;
    EXPECT_NE(csv.find("<<<U,PKT_ACK,SN[123456789],S/W[1.30],[KRM04]"), std::string::npos) << csv;
}

TEST(LinkAgainstSimulator, TheSimulatorStopsOnSigtermAndDumpsItsMemory) {
    SimLink s({"--serial", "987654321"});
    Packet reply;
    ASSERT_EQ(s.exchange(protocol::makeUnlock(1234), reply), LinkStatus::Ok);
    ASSERT_EQ(s.exchange(protocol::makeUnitDescription("Kitchen 2"), reply), LinkStatus::Ok);
    EXPECT_EQ(reply.id(), protocol::PKT_ACK);
    s.port.reset();
    EXPECT_EQ(s.sim.stop(), 0);
    const std::string dump = test::readFile(s.sim.dumpFile());
    EXPECT_NE(dump.find("Kitchen 2"), std::string::npos) << dump.substr(0, 400);
    EXPECT_NE(dump.find("987654321"), std::string::npos);
}

}  // namespace
}  // namespace qelto
