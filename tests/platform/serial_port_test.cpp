#include "platform/serial_port.h"

#include <gtest/gtest.h>

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

// Reads that collect a frame arriving in pieces, and replies cut short, are the simulated unit's
// (tests/integration), which talks to the port over a pty.
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

// Exclusive use and its end on close: SerialPortErrors (a busy port, then a failed open that let
// go of the port).

}  // namespace
}  // namespace qelto::platform
