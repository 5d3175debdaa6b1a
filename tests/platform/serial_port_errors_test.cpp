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

TEST(SerialPortErrors, AMissingPortSaysHowToFindThePresentOnes) {
    const std::string error = openError("/dev/ttyUSB97");
    EXPECT_THAT(error, HasSubstr("cannot open /dev/ttyUSB97: no such port"));
    EXPECT_THAT(error, HasSubstr("qeltoctl ports"));
}

TEST(SerialPortErrors, AFileThatIsNotATerminalIsRefusedAsNoSerialPort) {
    const auto file = test::testDir() / "notes.txt";
    test::writeFile(file, "not a port");
    EXPECT_THAT(openError(file.string()), HasSubstr("not a serial port"));
    EXPECT_THAT(openError(test::testDir().string()), HasSubstr("folder"));
}

TEST(SerialPortErrors, APortHeldByAnotherOpenIsBusy) {
    test::PtyPair pty;
    std::string error;
    auto first = SerialPort::open(pty.path(), 9600, &error);
    ASSERT_NE(first, nullptr) << error;
    EXPECT_THAT(openError(pty.path()), HasSubstr("in use by another program"));
}

TEST(SerialPortErrors, AnUnsupportedRateIsNamedWithTheRatesThatWork) {
    test::PtyPair pty;
    const std::string error = openError(pty.path(), 9601);
    EXPECT_THAT(error, HasSubstr("9601 baud is not a supported rate"));
    EXPECT_THAT(error, HasSubstr("9600, 19200, 38400, 57600, 115200"));
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

TEST(SerialPortErrors, ADriverThatDropsFlowControlIsRefused) {
    test::PtyPair pty;
    PosixCalls calls = realPosixCalls();
    calls.tcgetattr = [](int fd, termios* t) {
        const int rc = ::tcgetattr(fd, t);
        t->c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
        return rc;
    };
    std::string error;
    EXPECT_EQ(SerialPort::Impl::open(pty.path(), 9600, calls, &error), nullptr);
    EXPECT_THAT(error, HasSubstr("CTS flow control"));
}

}  // namespace
}  // namespace qelto::platform
