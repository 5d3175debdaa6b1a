#include "sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace qelto::sim::test {

namespace {

// The first line the simulator prints, waiting at most two seconds for it.
std::string readFirstLine(int fd) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) {
            continue;
        }
        char c = 0;
        if (::read(fd, &c, 1) != 1) {
            break;
        }
        if (c == '\n') {
            return line;
        }
        line.push_back(c);
    }
    throw std::runtime_error("qelto-unitsim printed no pty path");
}

}  // namespace

SimProcess::SimProcess(const std::vector<std::string>& args) {
    std::array<int, 2> out{};
    if (::pipe2(out.data(), O_CLOEXEC) != 0) {
        throw std::system_error(errno, std::generic_category(), "pipe2");
    }
    std::vector<std::string> argv{QELTO_UNITSIM_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargs;
    for (auto& a : argv) {
        cargs.push_back(a.data());
    }
    cargs.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const int rc = ::posix_spawn(&pid_, cargs[0], &actions, nullptr, cargs.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
        ::close(out[0]);
        throw std::system_error(rc, std::generic_category(), "posix_spawn");
    }
    try {
        ptyPath_ = readFirstLine(out[0]);
    } catch (...) {
        ::close(out[0]);
        stop();
        throw;
    }
    ::close(out[0]);
}

SimProcess::~SimProcess() {
    closePort();
    stop();
}

void SimProcess::openPort() {
    port_ = ::open(ptyPath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (port_ < 0) {
        throw std::system_error(errno, std::generic_category(), "open " + ptyPath_);
    }
    termios tio{};
    ::tcgetattr(port_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(port_, TCSANOW, &tio);
}

void SimProcess::closePort() {
    if (port_ >= 0) {
        ::close(port_);
        port_ = -1;
    }
}

void SimProcess::write(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(port_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            throw std::system_error(errno, std::generic_category(), "write");
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

std::vector<std::uint8_t> SimProcess::read(std::size_t count, std::chrono::milliseconds wait) {
    std::vector<std::uint8_t> got;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (got.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{port_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        std::array<std::uint8_t, 512> buffer{};
        const ssize_t n = ::read(port_, buffer.data(), std::min(buffer.size(), count - got.size()));
        if (n > 0) {
            got.insert(got.end(), buffer.begin(), buffer.begin() + n);
        }
    }
    return got;
}

std::vector<std::uint8_t> SimProcess::exchange(const std::vector<std::uint8_t>& request,
                                               std::size_t count, std::chrono::milliseconds wait) {
    write(request);
    return read(count, wait);
}

void SimProcess::signal(int number) {
    if (pid_ > 0) {
        ::kill(pid_, number);
    }
}

int SimProcess::stop() {
    if (pid_ <= 0) {
        return -1;
    }
    ::kill(pid_, SIGTERM);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace qelto::sim::test
