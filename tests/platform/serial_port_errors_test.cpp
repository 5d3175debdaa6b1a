#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include "platform/serial_port.h"
#include "platform/serial_port_impl.h"
#include "pty_pair.h"
#include "support/test_env.h"

namespace qelto::platform {
namespace {

using ::testing::HasSubstr;

std::string openError(const std::string& path, unsigned baud = 9600) {
    std::string error;
    EXPECT_EQ(SerialPort::open(path, baud, &error), nullptr);
    return error;
}

// A missing port says how to find the present ones; a port held by another open is busy; an
// unsupported rate is named with the rates that work.
TEST(SerialPortErrors, EachRefusalSaysWhatIsWrong) {
    test::PtyPair pty;
    std::string error;
    auto first = SerialPort::open(pty.path(), 9600, &error);
    ASSERT_NE(first, nullptr) << error;
    test::PtyPair other;
    const struct {
        std::string path;
        unsigned baud;
        std::vector<const char*> says;
    } rows[] = {
        {"/dev/ttyUSB97", 9600, {"cannot open /dev/ttyUSB97: no such port", "qeltoctl ports"}},
        {pty.path(), 9600, {"in use by another program"}},
        {other.path(),
         9601,
         {"9601 baud is not a supported rate", "9600, 19200, 38400, 57600, 115200"}},
    };
    for (const auto& row : rows) {
        const std::string message = openError(row.path, row.baud);
        for (const char* part : row.says) {
            EXPECT_THAT(message, HasSubstr(part)) << row.path;
        }
    }
}

TEST(SerialPortErrors, PermissionDeniedAdvisesTheDialoutGroup) {
    PosixCalls calls = realPosixCalls();
    int attempts = 0;
    calls.open = [&](const char*, int) {
        errno = ++attempts == 1 ? EINTR : EACCES;
        return -1;
    };
    std::string error;
    EXPECT_EQ(SerialPort::Impl::open("/dev/ttyUSB0", 9600, calls, &error), nullptr);
    EXPECT_THAT(error, HasSubstr("cannot open /dev/ttyUSB0: permission denied"));
    EXPECT_THAT(error, HasSubstr("sudo usermod -aG dialout $USER"));
    EXPECT_EQ(attempts, 2);  // an interrupted open is retried
}

TEST(SerialPortErrors, ModemLinesAreDroppedAndAPtyRefusingThemIsNoError) {
    test::PtyPair pty;
    PosixCalls calls = realPosixCalls();
    int cleared = 0;
    calls.ioctlInt = [&](int fd, unsigned long request, int* arg) {
        if (request == TIOCMBIC) {
            cleared = *arg;
        }
        return ::ioctl(fd, request, arg);  // a pty answers ENOTTY
    };
    std::string error;
    EXPECT_NE(SerialPort::Impl::open(pty.path(), 9600, calls, &error), nullptr) << error;
    EXPECT_EQ(cleared, TIOCM_DTR | TIOCM_RTS);
}

TEST(SerialPortErrors, AModemLineFailureOfARealPortIsAnError) {
    test::PtyPair pty;
    PosixCalls calls = realPosixCalls();
    calls.ioctlInt = [](int, unsigned long, int*) {
        errno = EIO;
        return -1;
    };
    std::string error;
    EXPECT_EQ(SerialPort::Impl::open(pty.path(), 9600, calls, &error), nullptr);
    EXPECT_THAT(error, HasSubstr("DTR and RTS"));
    // The failed open let go of the port.
    EXPECT_NE(SerialPort::open(pty.path(), 9600, &error), nullptr) << error;
}

}  // namespace
}  // namespace qelto::platform
