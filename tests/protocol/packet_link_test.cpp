#include "protocol/packet_link.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "protocol/frame.h"

namespace qelto::protocol {
namespace {

using std::chrono::milliseconds;

// A serial line played from a script: what the PC writes is recorded, reads are answered from a
// queue of byte chunks (an empty chunk is a time-out).
class ScriptedLine final : public platform::ByteLink {
  public:
    std::vector<std::vector<std::uint8_t>> written;
    std::deque<std::vector<std::uint8_t>> replies;
    int failWrites = 0;

    platform::IoStatus write(std::span<const std::uint8_t> bytes, milliseconds) override {
        if (failWrites > 0) {
            --failWrites;
            return platform::IoStatus::TimedOut;
        }
        written.emplace_back(bytes.begin(), bytes.end());
        return platform::IoStatus::Ok;
    }
    platform::IoStatus read(std::span<std::uint8_t> out, milliseconds,
                            std::size_t* received) override {
        if (replies.empty() || replies.front().size() < out.size()) {
            if (!replies.empty()) {
                replies.pop_front();
            }
            if (received != nullptr) {
                *received = 0;
            }
            return platform::IoStatus::TimedOut;
        }
        std::copy_n(replies.front().begin(), out.size(), out.begin());
        replies.pop_front();
        if (received != nullptr) {
            *received = out.size();
        }
        return platform::IoStatus::Ok;
    }
    void purge() override {}
    void cancel() override {}
};

// The answered exchange, the retries after a bad check word or silence, and a rotated reply of
// the selected unit are driven against the simulator in tests/integration.
std::vector<std::uint8_t> bytesOf(const Frame& f) {
    return {f.begin(), f.end()};
}

Packet ackFrom(std::uint32_t serial) {
    Packet ack;
    ack.setId(PKT_ACK);
    ack.setU32(2, serial);
    ack[9] = 3;
    return ack;
}

Packet pollNone() {
    Packet poll;
    poll.setId(PKT_POLL);
    poll[6] = CMD_NONE;
    return poll;
}

struct Harness {
    ScriptedLine line;
    LinkState state;
    std::vector<milliseconds> sleeps;
    std::atomic<bool> abort{false};
    SerialPacketPath path{line, state, SerialTimings{},
                          [this](milliseconds d) { sleeps.push_back(d); }};
    PacketLink link{path, nullptr, abort, [this](milliseconds d) { sleeps.push_back(d); }};
};

TEST(PacketLink, AFailedWriteDrainsTheLineTwiceBeforeTheNextAttempt) {
    Harness h;
    h.line.failWrites = 1;
    h.line.replies.push_back({});                                // drain 1: nothing
    h.line.replies.push_back(bytesOf(encodeFrame(ackFrom(7))));  // drain 2: a stray reply
    h.line.replies.push_back(bytesOf(encodeFrame(ackFrom(42))));
    Packet reply;
    EXPECT_EQ(h.link.WriteReadPacket(pollNone(), reply, 9), LinkStatus::Ok);
    EXPECT_EQ(reply, ackFrom(42)) << "the drained reply must not be taken for the answer";
    EXPECT_EQ(h.sleeps, (std::vector<milliseconds>{milliseconds(100), milliseconds(100)}));
}

TEST(PacketLink, CancelStopsTheRetriesAndLeavesNoReplyBehind) {
    Harness h;
    Frame bad = encodeFrame(ackFrom(42));
    bad[20] ^= 0x01;  // right identifier, damaged payload
    h.line.replies.push_back(bytesOf(bad));
    h.abort = true;
    Packet reply;
    EXPECT_EQ(h.link.WriteReadPacket(pollNone(), reply, 9), LinkStatus::Aborted);
    EXPECT_EQ(h.line.written.size(), 1u);
    EXPECT_EQ(reply.id(), PKT_NONE);

    Harness failingWrite;
    failingWrite.line.failWrites = 9;
    failingWrite.abort = true;
    EXPECT_EQ(failingWrite.link.WriteReadPacket(pollNone(), reply, 9), LinkStatus::Aborted);
    EXPECT_TRUE(failingWrite.sleeps.empty()) << "a cancelled link is not drained";
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
