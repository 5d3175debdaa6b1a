// The PC side of the packet link (real serial port code, real framing, real retries) against the
// simulated unit on a pseudo-terminal, with each kind of fault the simulator can inject.
#include <gtest/gtest.h>

#include <optional>

#include "logs/comms_log.h"
#include "protocol/packet_catalogue.h"
#include "support/sim_link.h"
#include "support/test_env.h"

namespace qelto {
namespace {

using namespace std::chrono_literals;
using protocol::LinkStatus;
using protocol::Packet;

using test::SimLink;

// Each fault the simulator injects, and what the link makes of it: the status of each poll
// (sent with the given number of attempts) and how many requests reached the unit.
TEST(LinkAgainstSimulator, EachFaultIsRetriedRealignedOrReported) {
    struct Poll {
        int attempts;
        LinkStatus status;
    };
    const struct {
        const char* what;
        std::vector<std::string> options;
        std::vector<Poll> polls;
        std::size_t requests;
        std::optional<int> lastReply;
    } cases[] = {
        // The second request is dropped, its retry answered; the fourth gets one attempt only.
        {"dropped",
         {"--drop-every", "2"},
         {{9, LinkStatus::Ok}, {9, LinkStatus::Ok}, {1, LinkStatus::Failed}},
         4,
         {}},
        {"corrupted always", {"--corrupt-every", "1"}, {{3, LinkStatus::Failed}}, 3, {}},
        {"corrupted once",
         {"--corrupt-every", "2"},
         {{9, LinkStatus::Ok}, {9, LinkStatus::Ok}},
         3,
         protocol::PKT_ACK},
        // A rotated reply of the selected unit is realigned at the first attempt.
        {"rotated", {"--rotate-every", "1:10"}, {{9, LinkStatus::Ok}}, 1, protocol::PKT_ACK},
        {"silent",
         {"--silent-after", "1"},
         {{9, LinkStatus::Ok}, {3, LinkStatus::Failed}},
         4,
         protocol::PKT_NONE},
        // A refusal is a link success for the caller to judge.
        {"refused", {"--nak-every", "1"}, {{9, LinkStatus::Ok}}, 1, protocol::PKT_NAK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimLink s(test::testDir(), c.options);
        if (c.options[0] == "--rotate-every") {
            s.state.selectedSerial = 123456789;  // only the selected unit's replies are realigned
        }
        Packet reply;
        for (const Poll& poll : c.polls) {
            EXPECT_EQ(s.exchange(protocol::makePoll(protocol::CMD_NONE), reply, poll.attempts),
                      poll.status);
        }
        EXPECT_EQ(s.sim.requests().size(), c.requests);
        if (c.lastReply) {
            EXPECT_EQ(reply.id(), *c.lastReply);
        }
    }
    // A cancel during the retries stops at the next attempt.
    SimLink dropping(test::testDir(), {"--drop-every", "1"});
    dropping.abort = true;
    Packet reply;
    EXPECT_EQ(dropping.exchange(protocol::makePoll(protocol::CMD_NONE), reply),
              LinkStatus::Aborted);
    EXPECT_EQ(dropping.sim.requests().size(), 1u);
}

TEST(LinkAgainstSimulator, EveryPacketOfAnExchangeIsLogged) {
    logs::CommsLog log;
    log.setEnabled(true);
    SimLink s(test::testDir(), {}, &log);
    const Packet poll = protocol::makePoll(protocol::CMD_NONE);
    s.link->logNew(poll);
    Packet reply;
    ASSERT_EQ(s.exchange(poll, reply), LinkStatus::Ok);
    const std::string csv = test::readFile(test::testDir() / "CommsLog.csv");
    EXPECT_NE(csv.find("*NEW*,PKT_POLL,CMD_NONE"), std::string::npos) << csv;
    EXPECT_NE(csv.find("P>>>,PKT_POLL,CMD_NONE"), std::string::npos) << csv;
    EXPECT_NE(csv.find("<<<U,PKT_ACK,SN[123456789],S/W[1.30],[KRM04]"), std::string::npos) << csv;
}

}  // namespace
}  // namespace qelto
