#include "sim/serve_loop.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

namespace qelto::sim {

namespace {

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_dump = 0;
int g_wakePipe[2] = {-1, -1};

void onSignal(int signal) {
    const int saved = errno;
    if (signal == SIGUSR1) {
        g_dump = 1;
    } else {
        g_stop = 1;
    }
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_wakePipe[1], &byte, 1);
    errno = saved;
}

void drainWakePipe() {
    char buffer[64];
    while (::read(g_wakePipe[0], buffer, sizeof buffer) > 0) {
    }
}

// Writes everything, waiting for room when the client is slow to read; gives up after a second
// without progress, as a unit's transmit buffer would simply overflow.
void writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        pollfd out{fd, POLLOUT, 0};
        if (::poll(&out, 1, 1000) <= 0) {
            return;
        }
    }
}

// The line as a real one carries it. A pseudo-terminal hands the PC's bytes over at once, so the
// time they would take to arrive is added before the unit can answer; and each byte sent is
// delivered when it would have left the wire, by the clock rather than after sleeps whose
// overshoot would add up over a frame.
class LinePace {
  public:
    explicit LinePace(const ServeOptions& options)
        : paced_(options.pace),
          // Ten bits a byte: start, eight data bits, stop.
          perByte_(std::chrono::nanoseconds(10'000'000'000LL / (options.baud ? options.baud : 1))) {
    }

    void received(std::size_t count) {
        if (paced_) {
            inboundEnd_ = std::max(Clock::now(), inboundEnd_) + perByte_ * count;
        }
    }

    void send(int fd, const std::vector<std::uint8_t>& bytes) {
        if (!paced_) {
            writeAll(fd, bytes.data(), bytes.size());
            return;
        }
        auto next = std::max(Clock::now(), inboundEnd_);
        for (const std::uint8_t byte : bytes) {
            next += perByte_;
            std::this_thread::sleep_until(next);
            writeAll(fd, &byte, 1);
        }
    }

  private:
    using Clock = std::chrono::steady_clock;
    bool paced_;
    std::chrono::nanoseconds perByte_;
    Clock::time_point inboundEnd_{};
};

}  // namespace

bool installSignalHandlers() {
    if (::pipe2(g_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    ::sigemptyset(&action.sa_mask);
    return ::sigaction(SIGTERM, &action, nullptr) == 0 &&
           ::sigaction(SIGINT, &action, nullptr) == 0 &&
           ::sigaction(SIGUSR1, &action, nullptr) == 0;
}

void serve(int master, UnitPort& unit, const ServeOptions& options,
           const std::function<void()>& onDumpRequest) {
    std::array<std::uint8_t, 4096> buffer{};
    LinePace line(options);
    while (g_stop == 0) {
        std::array<pollfd, 2> fds{pollfd{master, POLLIN, 0}, pollfd{g_wakePipe[0], POLLIN, 0}};
        const auto quiet = unit.quietWanted();
        const int ready =
            ::poll(fds.data(), fds.size(), quiet ? static_cast<int>(quiet->count()) : 500);
        if (ready == 0 && quiet) {
            const auto reply = unit.onQuiet();
            if (!reply.empty()) {
                line.send(master, reply);
            }
            continue;
        }
        if (fds[1].revents != 0) {
            drainWakePipe();
        }
        if (g_dump != 0) {
            g_dump = 0;
            onDumpRequest();
        }
        if (ready <= 0 || (fds[0].revents & POLLIN) == 0) {
            // With no client side open a pty master can report a hang-up for ever; do not spin.
            if ((fds[0].revents & (POLLHUP | POLLERR)) != 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            continue;
        }
        const ssize_t n = ::read(master, buffer.data(), buffer.size());
        if (n <= 0) {
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            continue;
        }
        line.received(static_cast<std::size_t>(n));
        const auto reply = unit.receive(std::span(buffer.data(), static_cast<std::size_t>(n)));
        if (!reply.empty()) {
            line.send(master, reply);
        }
    }
}

}  // namespace qelto::sim
