// The Windows serial port and HID backend, run under Wine or on Windows. The exchanges need a
// COM port whose far side echoes every byte (under Wine, a pty with an echo peer mapped as a
// COM port); its name comes in QELTO_TEST_ECHO_PORT, and without it those tests are skipped.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "platform/hid_device.h"
#include "platform/serial_port.h"
#include "platform/serial_port_list.h"

namespace qelto::platform {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

std::unique_ptr<SerialPort> openEchoPort() {
    const char* name = std::getenv("QELTO_TEST_ECHO_PORT");
    if (name == nullptr || *name == '\0') {
        return nullptr;
    }
    std::string error;
    auto port = SerialPort::open(name, 9600, &error);
    EXPECT_NE(port, nullptr) << error;
    return port;
}

// A missing port says where Windows shows the present ones, in the name the user typed it by;
// a file is not a port; an unsupported rate is named with the rates that work.
TEST(SerialPortWin, EachRefusalSaysWhatIsWrong) {
    const struct {
        std::string path;
        unsigned baud;
        std::vector<const char*> says;
    } rows[] = {
        {"COM250", 9600, {"cannot open COM250: no such port", "Device Manager", "qeltoctl ports"}},
        {"\\\\.\\COM250", 9600, {"cannot open COM250: no such port"}},
        {"C:\\windows\\win.ini", 9600, {"it is not a serial port"}},
        {"COM250", 9601, {"9601 baud is not a supported rate", "9600, 19200, 38400, 57600"}},
    };
    for (const auto& row : rows) {
        std::string error;
        EXPECT_EQ(SerialPort::open(row.path, row.baud, &error), nullptr) << row.path;
        for (const char* part : row.says) {
            EXPECT_THAT(error, HasSubstr(part)) << row.path;
        }
    }
}

TEST(SerialPortWin, ThePortListIsInNaturalOrderWithoutRepeats) {
    const auto ports = listSerialPorts();
    EXPECT_TRUE(std::is_sorted(ports.begin(), ports.end(), naturalLess));
    EXPECT_EQ(std::adjacent_find(ports.begin(), ports.end()), ports.end());
}

TEST(HidDeviceWin, NoMatchingDeviceIsTheNoUnitCase) {
    std::string error;
    EXPECT_EQ(OpenHidUnit(HidIds{0xFFF1, 0xFFF2, 0xFFF3}, &error), nullptr);
    EXPECT_THAT(error, HasSubstr("no unit found on USB"));
}

// Bytes go out and come back; a read that gets only part of its bytes times out on time with
// the part counted.
TEST(SerialPortWin, EchoAndTimeOut) {
    auto port = openEchoPort();
    if (!port) {
        GTEST_SKIP() << "QELTO_TEST_ECHO_PORT is not set";
    }
    const Bytes hello{'h', 'e', 'l', 'l', 'o'};
    Bytes in(5);
    ASSERT_EQ(port->write(hello, 100ms), IoStatus::Ok);
    ASSERT_EQ(port->read(in, 1s), IoStatus::Ok);
    EXPECT_EQ(in, hello);

    ASSERT_EQ(port->write(std::span(hello).first(3), 100ms), IoStatus::Ok);
    std::size_t received = 0;
    const auto start = Clock::now();
    EXPECT_EQ(port->read(in, 300ms, &received), IoStatus::TimedOut);
    const auto took = Clock::now() - start;
    EXPECT_EQ(received, 3U);
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 600ms);
}

// A cancel from another thread ends a waiting read at once; a cancel with nothing waiting ends
// only the next wait, and a write it meets sends nothing.
TEST(SerialPortWin, CancelEndsTheWaitAtHandAndOnlyOnce) {
    auto port = openEchoPort();
    if (!port) {
        GTEST_SKIP() << "QELTO_TEST_ECHO_PORT is not set";
    }
    Bytes in(4);
    std::thread canceller([&] {
        std::this_thread::sleep_for(50ms);
        port->cancel();
    });
    const auto start = Clock::now();
    EXPECT_EQ(port->read(in, 5s), IoStatus::Cancelled);
    canceller.join();
    EXPECT_LT(Clock::now() - start, 1s);

    port->cancel();
    port->cancel();
    EXPECT_EQ(port->write(Bytes{1, 2}, 100ms), IoStatus::Cancelled);
    EXPECT_EQ(port->read(in, 200ms), IoStatus::TimedOut);
}

}  // namespace
}  // namespace qelto::platform
