// Faults the kernel can hand the port at any time, put in through the system-call seam.
#include <gtest/gtest.h>

#include "platform/serial_port_impl.h"
#include "pty_pair.h"

namespace qelto::platform {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class SerialSyscallFaults : public ::testing::Test {
  protected:
    std::unique_ptr<SerialPort> open() {
        std::string error;
        auto port = SerialPort::Impl::open(pty.path(), 19200, calls, &error);
        EXPECT_NE(port, nullptr) << error;
        return port;
    }

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
