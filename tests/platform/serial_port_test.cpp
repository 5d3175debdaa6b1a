// The serial port on a pseudo-terminal: its line settings at every rate, waits that a cancel, a
// closed other side or a full queue end, each refusal to open and what it says, and the faults the
// kernel can hand it at any time, put in through the system-call seam.
#include "platform/serial_port.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <thread>

#include "platform/serial_port_impl.h"
#include "pty_pair.h"

namespace qelto::platform {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// The port on the pty, through the real system calls or the ones a test put in their place.
std::unique_ptr<SerialPort> openOrFail(const test::PtyPair& pty, unsigned baud = 9600,
                                       const PosixCalls& calls = realPosixCalls()) {
    std::string error;
    auto port = SerialPort::Impl::open(pty.path(), baud, calls, &error);
    EXPECT_NE(port, nullptr) << error;
    return port;
}

// An open that must fail, and what it says.
std::string openError(const std::string& path, unsigned baud = 9600,
                      const PosixCalls& calls = realPosixCalls()) {
    std::string error;
    EXPECT_EQ(SerialPort::Impl::open(path, baud, calls, &error), nullptr);
    return error;
}

struct Rate {
    unsigned baud;
    speed_t speed;
};

class SerialLineSettings : public ::testing::TestWithParam<Rate> {};

TEST_P(SerialLineSettings, ArePlainRawEightNoneOneWithCtsOnlyAt9600) {
    test::PtyPair pty;
    auto port = openOrFail(pty, GetParam().baud);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->baud(), GetParam().baud);

    termios t{};
    ASSERT_EQ(::tcgetattr(pty.slave(), &t), 0);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ((t.c_cflag & CRTSCTS) != 0, GetParam().baud == 9600);
    EXPECT_NE(t.c_cflag & CREAD, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);
    EXPECT_EQ(::cfgetospeed(&t), GetParam().speed);
    EXPECT_EQ(::cfgetispeed(&t), GetParam().speed);
}

INSTANTIATE_TEST_SUITE_P(StandardRates, SerialLineSettings,
                         ::testing::Values(Rate{9600, B9600}, Rate{19200, B19200},
                                           Rate{38400, B38400}, Rate{57600, B57600},
                                           Rate{115200, B115200}),
                         [](const auto& rate) { return std::to_string(rate.param.baud); });

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

// A missing port says how to find the present ones; a port held by another open is busy; an
// unsupported rate is named with the rates that work.
TEST(SerialPortErrors, EachRefusalSaysWhatIsWrong) {
    test::PtyPair pty;
    auto first = openOrFail(pty);
    ASSERT_NE(first, nullptr);
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
    const std::string error = openError("/dev/ttyUSB0", 9600, calls);
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
    EXPECT_NE(openOrFail(pty, 9600, calls), nullptr);
    EXPECT_EQ(cleared, TIOCM_DTR | TIOCM_RTS);
}

TEST(SerialPortErrors, AModemLineFailureOfARealPortIsAnError) {
    test::PtyPair pty;
    PosixCalls calls = realPosixCalls();
    calls.ioctlInt = [](int, unsigned long, int*) {
        errno = EIO;
        return -1;
    };
    EXPECT_THAT(openError(pty.path(), 9600, calls), HasSubstr("DTR and RTS"));
    EXPECT_NE(openOrFail(pty), nullptr) << "the failed open let go of the port";
}

class SerialSyscallFaults : public ::testing::Test {
  protected:
    std::unique_ptr<SerialPort> open() { return openOrFail(pty, 19200, calls); }

    test::PtyPair pty;
    PosixCalls calls = realPosixCalls();
};

TEST_F(SerialSyscallFaults, InterruptedReadsAreRetried) {
    int readInterrupts = 2;
    calls.read = [&](int fd, void* buf, std::size_t count) -> ssize_t {
        if (readInterrupts-- > 0) {
            errno = EINTR;
            return -1;
        }
        return ::read(fd, buf, count);
    };
    auto port = open();
    pty.send({5, 6});
    Bytes in(2);
    EXPECT_EQ(port->read(in, 200ms), IoStatus::Ok);
    EXPECT_EQ(in, (Bytes{5, 6}));
    EXPECT_LT(readInterrupts, 0);
}

TEST_F(SerialSyscallFaults, ShortWritesAndEagainStillSendEveryByteInOrder) {
    int calls1 = 0;
    calls.write = [&](int fd, const void* buf, std::size_t) -> ssize_t {
        if (++calls1 % 3 == 0) {
            errno = EAGAIN;
            return -1;
        }
        return ::write(fd, buf, 1);
    };
    auto port = open();
    const Bytes frame{0x30, 1, 2, 3, 4, 5, 0xFE, 0xFF};
    EXPECT_EQ(port->write(frame, 50ms), IoStatus::Ok);
    EXPECT_EQ(pty.receive(frame.size()), frame);
}

TEST_F(SerialSyscallFaults, KernelErrorsFailTheCallAtOnce) {
    calls.write = [](int, const void*, std::size_t) -> ssize_t {
        errno = EIO;
        return -1;
    };
    calls.poll = [](pollfd* fds, nfds_t n, int ms) {
        if ((fds[0].events & POLLIN) != 0) {
            errno = ENOMEM;
            return -1;
        }
        return ::poll(fds, n, ms);
    };
    auto port = open();
    EXPECT_EQ(port->write(Bytes{1, 2}, 50ms), IoStatus::Failed);
    Bytes in(1);
    EXPECT_EQ(port->read(in, 50ms), IoStatus::Failed);
}

}  // namespace
}  // namespace qelto::platform
