#include "platform/serial_port.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <thread>

#include "pty_pair.h"

namespace qelto::platform {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

std::unique_ptr<SerialPort> openOrFail(const test::PtyPair& pty, unsigned baud = 9600) {
    std::string error;
    auto port = SerialPort::open(pty.path(), baud, &error);
    EXPECT_NE(port, nullptr) << error;
    return port;
}

TEST(SerialPortOnPty, ReadCollectsBytesThatArriveInPieces) {
    test::PtyPair pty;
    auto port = openOrFail(pty);
    std::thread unit([&] {
        pty.send({1, 2});
        std::this_thread::sleep_for(10ms);
        pty.send({3, 0x11, 0x0D});
    });
    Bytes in(5);
    std::size_t got = 0;
    EXPECT_EQ(port->read(in, 500ms, &got), IoStatus::Ok);
    unit.join();
    EXPECT_EQ(got, 5u);
    EXPECT_EQ(in, (Bytes{1, 2, 3, 0x11, 0x0D}));
}

TEST(SerialPortOnPty, AShortReplyTimesOutAndReportsWhatCame) {
    test::PtyPair pty;
    auto port = openOrFail(pty);
    pty.send({7, 8, 9});
    Bytes in(5);
    std::size_t got = 99;
    const auto start = Clock::now();
    EXPECT_EQ(port->read(in, 40ms, &got), IoStatus::TimedOut);
    EXPECT_GE(Clock::now() - start, 40ms);
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(Bytes(in.begin(), in.begin() + 3), (Bytes{7, 8, 9}));
}

// A cancel from another thread ends a waiting read and a write that cannot leave (nobody reads
// the master, so the queue fills); a cancel with nothing waiting ends only the next wait; a
// write that cannot leave times out.
TEST(SerialPortOnPty, CancelEndsTheWaitAtHandAndAFullQueueTimesOut) {
    test::PtyPair pty;
    auto port = openOrFail(pty, 19200);
    const Bytes flood(1 << 20, 0x55);
    Bytes in(1);
    for (const bool reading : {true, false}) {
        std::thread canceller([&] {
            std::this_thread::sleep_for(20ms);
            port->cancel();
        });
        const auto start = Clock::now();
        EXPECT_EQ(reading ? port->read(in, 5s) : port->write(flood, 5s), IoStatus::Cancelled);
        canceller.join();
        EXPECT_LT(Clock::now() - start, 2s);
    }
    const auto start = Clock::now();
    EXPECT_EQ(port->write(flood, 20ms), IoStatus::TimedOut);
    EXPECT_LT(Clock::now() - start, 2s);

    test::PtyPair idle;
    auto quiet = openOrFail(idle);
    quiet->cancel();
    EXPECT_EQ(quiet->read(in, 1s), IoStatus::Cancelled);
    idle.send({42});
    EXPECT_EQ(quiet->read(in, 500ms), IoStatus::Ok);
    EXPECT_EQ(in[0], 42);
}

TEST(SerialPortOnPty, ClosingTheOtherSideFailsAReadAtOnce) {
    test::PtyPair pty;
    auto port = openOrFail(pty);
    pty.closeMaster();
    Bytes in(4);
    const auto start = Clock::now();
    EXPECT_EQ(port->read(in, 2s), IoStatus::Failed);
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_EQ(port->write(Bytes{1}, 20ms), IoStatus::Failed);
}

TEST(SerialPortOnPty, PurgeDropsBytesAlreadyReceived) {
    test::PtyPair pty;
    auto port = openOrFail(pty);
    pty.send({1, 2, 3});
    std::this_thread::sleep_for(20ms);
    port->purge();
    Bytes in(1);
    std::size_t got = 99;
    EXPECT_EQ(port->read(in, 20ms, &got), IoStatus::TimedOut);
    EXPECT_EQ(got, 0u);
}

TEST(SerialPortOnPty, ExclusiveUseEndsWhenThePortCloses) {
    test::PtyPair pty;
    int exclusive = -1;
    {
        auto port = openOrFail(pty);
        ASSERT_EQ(::ioctl(pty.slave(), TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 1);
    }
    ASSERT_EQ(::ioctl(pty.slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    EXPECT_NE(openOrFail(pty), nullptr);
}

}  // namespace
}  // namespace qelto::platform
