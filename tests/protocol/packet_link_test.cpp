#include "protocol/packet_link.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "protocol/frame.h"

namespace qelto::protocol {
namespace {

using std::chrono::milliseconds;

// A serial line played from a script: the first writes fail, reads are answered from a queue of
// whole frames (an empty one is a time-out).
class ScriptedLine final : public platform::ByteLink {
  public:
    std::deque<std::vector<std::uint8_t>> replies;
    int failWrites = 0;

    platform::IoStatus write(std::span<const std::uint8_t>, milliseconds) override {
        return failWrites-- > 0 ? platform::IoStatus::TimedOut : platform::IoStatus::Ok;
    }
    platform::IoStatus read(std::span<std::uint8_t> out, milliseconds,
                            std::size_t* received) override {
        std::vector<std::uint8_t> next;
        if (!replies.empty()) {
            next = replies.front();
            replies.pop_front();
        }
        const bool whole = next.size() >= out.size();
        std::copy_n(next.begin(), whole ? out.size() : 0, out.begin());
        if (received != nullptr) {
            *received = whole ? out.size() : 0;
        }
        return whole ? platform::IoStatus::Ok : platform::IoStatus::TimedOut;
    }
    void purge() override {}
    void cancel() override {}
};

// The answered exchange, the retries after a bad check word or silence, a cancel during them and
// a rotated reply of the selected unit are driven against the simulator in tests/integration.
std::vector<std::uint8_t> ackFrame(std::uint32_t serial) {
    Packet ack;
    ack.setId(PKT_ACK);
    ack.setU32(2, serial);
    const Frame frame = encodeFrame(ack);
    return {frame.begin(), frame.end()};
}

Packet pollNone() {
    Packet poll;
    poll.setId(PKT_POLL);
    poll[6] = CMD_NONE;
    return poll;
}

// After a failed write the line is drained twice, so a stray reply is not taken for the answer;
// a cancelled link is not drained.
TEST(PacketLink, AFailedWriteDrainsTheLineTwiceBeforeTheNextAttempt) {
    for (const bool cancelled : {false, true}) {
        ScriptedLine line;
        LinkState state;
        std::vector<milliseconds> sleeps;
        std::atomic<bool> abort{cancelled};
        const auto sleep = [&sleeps](milliseconds d) { sleeps.push_back(d); };
        SerialPacketPath path{line, state, SerialTimings{}, sleep};
        PacketLink link{path, nullptr, abort, sleep};
        line.failWrites = cancelled ? 9 : 1;
        line.replies = {{}, ackFrame(7), ackFrame(42)};  // drain 1: nothing; drain 2: a stray reply
        Packet reply;
        EXPECT_EQ(link.WriteReadPacket(pollNone(), reply, 9),
                  cancelled ? LinkStatus::Aborted : LinkStatus::Ok);
        if (!cancelled) {
            EXPECT_EQ(reply.u32(2), 42u) << "the drained reply must not be taken for the answer";
        }
        EXPECT_EQ(sleeps, cancelled ? std::vector<milliseconds>{}
                                    : std::vector<milliseconds>(2, milliseconds(100)));
    }
}

class FakeHid final : public platform::HidDevice {
  public:
    std::vector<platform::HidReportBytes> written;
    std::deque<platform::HidReportBytes> replies;
    platform::IoStatus writeReport(const platform::HidReportBytes& report) override {
        written.push_back(report);
        return platform::IoStatus::Ok;
    }
    platform::IoStatus readReport(platform::HidReportBytes& report, milliseconds) override {
        if (replies.empty()) {
            return platform::IoStatus::TimedOut;
        }
        report = replies.front();
        replies.pop_front();
        return platform::IoStatus::Ok;
    }
};

TEST(PacketLink, HidRepliesAreTakenWithoutACheckWordTest) {
    FakeHid hid;
    HidPacketPath path(hid);
    std::atomic<bool> abort{false};
    PacketLink link(path, nullptr, abort);
    platform::HidReportBytes in{};
    in[2] = PKT_ACK;
    in[3] = 0x2A;
    in[34] = 0x12;  // a check word that does not match: USB replies are not tested
    in[35] = 0x34;
    hid.replies.push_back(in);
    Packet reply;
    EXPECT_EQ(link.WriteReadPacket(pollNone(), reply, 9), LinkStatus::Ok);
    EXPECT_EQ(reply.id(), PKT_ACK);
    EXPECT_EQ(reply[2], 0x2A);
    EXPECT_EQ(hid.written, std::vector{encodeHidReport(pollNone())});
}

}  // namespace
}  // namespace qelto::protocol
