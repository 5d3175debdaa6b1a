// Moving bytes through an open serial port: every wait is a poll on the port and on the cancel
// event together, so another thread can end it at once.
#include <sys/eventfd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "platform/serial_port_impl.h"

namespace qelto::platform {
namespace {

using Clock = std::chrono::steady_clock;

// Rounded up, so a wait never ends a fraction of a millisecond early and then spins on
// zero-length polls until the deadline.
int millisecondsUntil(Clock::time_point deadline) {
    const auto now = Clock::now();
    if (now >= deadline) {
        return 0;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
    return static_cast<int>(std::min<long long>(left, INT_MAX));
}

// A descriptor that says it is ready yet answers EAGAIN must not keep a call past its deadline.
bool retryable(int err, Clock::time_point deadline) {
    return err == EINTR || (err == EAGAIN && Clock::now() < deadline);
}

}  // namespace

IoStatus SerialPort::Impl::waitFor(short events, Clock::time_point deadline) {
    for (;;) {
        const int timeoutMs = millisecondsUntil(deadline);
        pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        const int ready = sys.poll(fds, 2, timeoutMs);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return IoStatus::Failed;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            eventfd_t ignored = 0;
            ::eventfd_read(wakeFd, &ignored);
            return IoStatus::Cancelled;
        }
        if ((fds[0].revents & POLLNVAL) != 0) {
            return IoStatus::Failed;
        }
        // Data can still be waiting behind a hang-up; the read that follows finds out.
        if ((fds[0].revents & events) != 0) {
            return IoStatus::Ok;
        }
        if ((fds[0].revents & (POLLHUP | POLLERR)) != 0) {
            return IoStatus::Failed;
        }
        if (timeoutMs == 0) {
            return IoStatus::TimedOut;
        }
    }
}

IoStatus SerialPort::Impl::write(std::span<const std::uint8_t> bytes,
                                 std::chrono::milliseconds perByte) {
    std::size_t sent = 0;
    auto deadline = Clock::now() + perByte;
    while (sent < bytes.size()) {
        if (const IoStatus ready = waitFor(POLLOUT, deadline); ready != IoStatus::Ok) {
            return ready;
        }
        const ssize_t n = sys.write(fd, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            deadline = Clock::now() + perByte;
        } else if (n < 0 && retryable(errno, deadline)) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            return IoStatus::TimedOut;
        } else {
            return IoStatus::Failed;
        }
    }
    return IoStatus::Ok;
}

IoStatus SerialPort::Impl::read(std::span<std::uint8_t> out, std::chrono::milliseconds timeout,
                                std::size_t* received) {
    std::size_t got = 0;
    IoStatus status = IoStatus::Ok;
    const auto deadline = Clock::now() + timeout;
    while (got < out.size()) {
        status = waitFor(POLLIN, deadline);
        if (status != IoStatus::Ok) {
            break;
        }
        const ssize_t n = sys.read(fd, out.data() + got, out.size() - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && retryable(errno, deadline)) {
            continue;
        }
        // The port is non-blocking, so 0 is end of file: the far side of a pty has closed, or
        // the port was hung up.
        status = (n < 0 && errno == EAGAIN) ? IoStatus::TimedOut : IoStatus::Failed;
        break;
    }
    if (received != nullptr) {
        *received = got;
    }
    return status;
}

void SerialPort::Impl::purge() {
    while (sys.tcflush(fd, TCIOFLUSH) != 0 && errno == EINTR) {
    }
}

void SerialPort::Impl::cancel() {
    // eventfd_write is async-signal-safe and never blocks here: the counter cannot overflow
    // from cancels alone.
    ::eventfd_write(wakeFd, 1);
}

}  // namespace qelto::platform
