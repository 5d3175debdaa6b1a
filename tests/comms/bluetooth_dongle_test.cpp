// The dongle's command mode against a scripted serial line: what is sent, how long each read may
// wait, and what each answer means.
#include "comms/bluetooth_dongle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace qelto::comms {
namespace {

using std::chrono::milliseconds;

// A dongle played from a script. Every write, pause and read is recorded in order as "write AT",
// "sleep 100", "read 3000"; reads take the answer's bytes in order and time out once it is used
// up.
class ScriptedDongle final : public platform::ByteLink {
  public:
    std::string answer;
    std::vector<std::string> events;
    bool failWrites = false;

    platform::IoStatus write(std::span<const std::uint8_t> bytes, milliseconds) override {
        if (failWrites) {
            return platform::IoStatus::Failed;
        }
        events.push_back("write " + std::string(bytes.begin(), bytes.end()));
        return platform::IoStatus::Ok;
    }
    platform::IoStatus read(std::span<std::uint8_t> out, milliseconds timeout,
                            std::size_t* received) override {
        events.push_back("read " + std::to_string(timeout.count()) + " " +
                         std::to_string(out.size()));
        const std::size_t n = std::min(out.size(), answer.size() - next_);
        std::copy_n(answer.begin() + static_cast<std::ptrdiff_t>(next_), n, out.begin());
        next_ += n;
        if (received != nullptr) {
            *received = n;
        }
        return n == out.size() ? platform::IoStatus::Ok : platform::IoStatus::TimedOut;
    }
    void purge() override {}
    void cancel() override {}

  private:
    std::size_t next_ = 0;
};

class BluetoothDongleTest : public ::testing::Test {
  protected:
    ScriptedDongle line;
    std::atomic<bool> abort{false};
    BluetoothDongle dongle{line, abort, [this](milliseconds pause) {
                               line.events.push_back("sleep " + std::to_string(pause.count()));
                           }};
};

TEST_F(BluetoothDongleTest, DetectSendsATPausesAndWantsExactlyOKReadOneByteAtATime) {
    line.answer = "OK";
    EXPECT_TRUE(dongle.detect());
    EXPECT_EQ(line.events,
              (std::vector<std::string>{"write AT", "sleep 100", "read 3000 1", "read 3000 1"}));

    ScriptedDongle refusing;
    refusing.answer = "ER";
    EXPECT_FALSE(BluetoothDongle(refusing, abort, [](milliseconds) {}).detect());
    ScriptedDongle silent;
    BluetoothDongle nobody(silent, abort, [](milliseconds) {});
    EXPECT_FALSE(nobody.detect());
    // A silent port costs one wait, not one per byte expected.
    EXPECT_EQ(silent.events.back(), "read 3000 1");
    EXPECT_EQ(silent.events.size(), 2u);

    ScriptedDongle unplugged;
    unplugged.failWrites = true;
    unplugged.answer = "OK";
    EXPECT_FALSE(BluetoothDongle(unplugged, abort, [](milliseconds) {}).detect());
}

TEST_F(BluetoothDongleTest, DiscoveryStopsAtTheBufferSizeOrTheOperatorsCancel) {
    line.answer = std::string(1500, 'x');
    EXPECT_EQ(dongle.discover().size(), kDiscoveryLimit);

    ScriptedDongle chatty;
    chatty.answer = std::string(100, 'x');
    BluetoothDongle cancelled(chatty, abort, [](milliseconds) {});
    const auto received = cancelled.discover([&](std::size_t n) { abort = n == 5; });
    EXPECT_EQ(received.size(), 5u);
}

TEST_F(BluetoothDongleTest, PairingSendsTheLineAsOneDigitAndWantsKPlus) {
    line.answer = "K+C3";
    EXPECT_EQ(dongle.pair(3), PairResult::Paired);
    EXPECT_EQ(line.events, (std::vector<std::string>{"write AT+CONN3", "sleep 100", "read 3000 1",
                                                     "read 3000 1", "read 3000 1", "read 3000 1"}));

    ScriptedDongle refusing;
    refusing.answer = "OK+C";
    EXPECT_EQ(BluetoothDongle(refusing, abort, [](milliseconds) {}).pair(0), PairResult::Refused);

    ScriptedDongle silent;
    EXPECT_EQ(BluetoothDongle(silent, abort, [](milliseconds) {}).pair(9), PairResult::NoReply);
    EXPECT_EQ(silent.events.front(), "write AT+CONN9");

    ScriptedDongle untouched;
    untouched.answer = "K+C:";
    EXPECT_EQ(BluetoothDongle(untouched, abort, [](milliseconds) {}).pair(10),
              PairResult::LineOutOfRange);
    EXPECT_TRUE(untouched.events.empty());
}

}  // namespace
}  // namespace qelto::comms
