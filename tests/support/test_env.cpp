#include "support/test_env.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace qelto::test {
namespace {

std::filesystem::path g_testDir;

class IsolatingListener : public ::testing::EmptyTestEventListener {
    std::filesystem::path originalCwd_;

    void OnTestStart(const ::testing::TestInfo&) override {
        originalCwd_ = std::filesystem::current_path();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qelto-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::system_error(errno, std::generic_category(), "mkdtemp");
        }
        g_testDir = pattern;
        std::filesystem::create_directories(g_testDir / ".config");
        ::setenv("HOME", g_testDir.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (g_testDir / ".config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (g_testDir / ".local" / "share").c_str(), 1);
        ::unsetenv("QELTO_HISTORY");
        std::filesystem::current_path(g_testDir);
    }

    void OnTestEnd(const ::testing::TestInfo&) override {
        std::filesystem::current_path(originalCwd_);
        std::error_code ignored;
        std::filesystem::remove_all(g_testDir, ignored);
        g_testDir.clear();
    }
};

// Installed before main() runs, so every test program of the suite is isolated.
const bool g_installed = [] {
    // A child that exits before reading its input must not kill the test program.
    ::signal(SIGPIPE, SIG_IGN);
    ::testing::UnitTest::GetInstance()->listeners().Append(new IsolatingListener);
    return true;
}();

int decode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::array<int, 2> openPipe() {
    std::array<int, 2> fds{};
    if (::pipe2(fds.data(), O_CLOEXEC) != 0) {
        throw std::system_error(errno, std::generic_category(), "pipe2");
    }
    return fds;
}

// Starts argv with the given descriptors as its standard input, output and error; -1 is
// /dev/null. The child gets the test's environment, so it sees the test's HOME.
pid_t spawn(const std::vector<std::string>& argv, std::array<int, 3> fds) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int i = 0; i < 3; ++i) {
        const int fd = fds[static_cast<std::size_t>(i)];
        if (fd >= 0) {
            posix_spawn_file_actions_adddup2(&actions, fd, i);
        } else {
            posix_spawn_file_actions_addopen(&actions, i, "/dev/null", i == 0 ? O_RDONLY : O_WRONLY,
                                             0);
        }
    }
    std::vector<char*> args;
    for (const auto& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        throw std::system_error(rc, std::generic_category(), "posix_spawn " + argv[0]);
    }
    return pid;
}

// Appends what the descriptor has; false at its end.
bool readSome(int fd, std::string& to) {
    std::array<char, 4096> buf{};
    const ssize_t n = ::read(fd, buf.data(), buf.size());
    if (n > 0) {
        to.append(buf.data(), static_cast<std::size_t>(n));
    }
    return n > 0;
}

int waitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return decode(status);
}

}  // namespace

std::filesystem::path testDir() {
    return g_testDir;
}

std::filesystem::path configHome() {
    return g_testDir / ".config";
}

ProcessResult runProcess(const std::vector<std::string>& argv) {
    std::array<int, 2> outPipe = openPipe(), errPipe = openPipe();
    const pid_t pid = spawn(argv, {-1, outPipe[1], errPipe[1]});
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    ProcessResult result;
    std::array<pollfd, 2> fds{{{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}}};
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0 &&
                !readSome(fds[i].fd, i == 0 ? result.out : result.err)) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
            }
        }
    }
    result.exitCode = waitFor(pid);
    return result;
}

StartedProcess::StartedProcess(const std::vector<std::string>& argv, int stdinFd) {
    std::array<int, 2> errPipe = openPipe();
    errFd_ = errPipe[0];
    try {
        pid_ = spawn(argv, {stdinFd, -1, errPipe[1]});
    } catch (...) {
        ::close(errPipe[1]);
        closeErr();
        throw;
    }
    ::close(errPipe[1]);
}

StartedProcess::~StartedProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    closeErr();
}

bool StartedProcess::readErr(std::chrono::milliseconds limit) {
    pollfd p{errFd_, POLLIN, 0};
    if (errFd_ < 0 || ::poll(&p, 1, static_cast<int>(limit.count())) <= 0) {
        return false;
    }
    if (!readSome(errFd_, err_)) {
        closeErr();
        return false;
    }
    return true;
}

bool StartedProcess::waitForErr(std::string_view text, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (err_.find(text) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !readErr(left)) {
            return false;
        }
    }
    return true;
}

void StartedProcess::closeErr() {
    if (errFd_ >= 0) {
        ::close(errFd_);
        errFd_ = -1;
    }
}

int StartedProcess::wait() {
    while (readErr(std::chrono::milliseconds(60000))) {
    }
    const int status = waitFor(pid_);
    pid_ = -1;
    return status;
}

}  // namespace qelto::test
