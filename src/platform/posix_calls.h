// The system calls under the serial port, gathered in one place so that tests can put a fault
// (EINTR, a short write, EAGAIN, an error) between the port code and the kernel.
#pragma once

#include <poll.h>
#include <sys/types.h>
#include <termios.h>

#include <cstddef>
#include <functional>

namespace qelto::platform {

struct PosixCalls {
    std::function<int(const char* path, int flags)> open;
    std::function<int(int fd)> close;
    std::function<ssize_t(int fd, void* buf, std::size_t count)> read;
    std::function<ssize_t(int fd, const void* buf, std::size_t count)> write;
    std::function<int(pollfd* fds, nfds_t count, int timeoutMs)> poll;
    std::function<int(int fd, termios* settings)> tcgetattr;
    std::function<int(int fd, int when, const termios* settings)> tcsetattr;
    std::function<int(int fd, int queue)> tcflush;
    std::function<int(int fd, int operation)> flock;
    // ioctl requests without an argument (TIOCEXCL, TIOCNXCL).
    std::function<int(int fd, unsigned long request)> ioctl;
    // ioctl requests that take a pointer to an int (TIOCMBIC).
    std::function<int(int fd, unsigned long request, int* arg)> ioctlInt;
    std::function<int(unsigned initial, int flags)> eventfd;
};

// The calls as the C library makes them.
const PosixCalls& realPosixCalls();

}  // namespace qelto::platform
