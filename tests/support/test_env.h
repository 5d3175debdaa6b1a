// Shared helpers of the test programs.
//
// Every test runs in a fresh temporary directory that is also its HOME, the root of its
// XDG_CONFIG_HOME and XDG_DATA_HOME, and its working directory (a listener installed by
// test_env.cpp does this around each test), so no test reads or writes the settings, unit history
// or files of the person running the suite.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qelto::test {

// The current test's private directory (also HOME and the working directory).
std::filesystem::path testDir();

// The per-user config folder of the current test ($XDG_CONFIG_HOME).
std::filesystem::path configHome();

void writeFile(const std::filesystem::path& path, std::string_view bytes);
void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::string readFile(const std::filesystem::path& path);

struct ProcessResult {
    int exitCode = -1;  // exit status, or 128 + signal number when killed by a signal
    std::string out;
    std::string err;
};

// Runs a program (argv[0] is its path) with no input, waits for it and collects its output. The
// child gets the test's environment, so it sees the test's HOME.
ProcessResult runProcess(const std::vector<std::string>& argv);

// Succeeds when the run ended with exitCode and its standard error holds each of errHas;
// otherwise shows both outputs.
::testing::AssertionResult exited(const ProcessResult& run, int exitCode,
                                  std::initializer_list<std::string_view> errHas = {});

// A program started without waiting for it, so that a test can signal it while it works. Its
// standard input is /dev/null (or stdinFd), standard output /dev/null, and standard error a pipe
// the test reads. The destructor kills and reaps it if the test has not waited.
class StartedProcess {
  public:
    explicit StartedProcess(const std::vector<std::string>& argv, int stdinFd = -1);
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    pid_t pid() const { return pid_; }
    // Reads standard error until it holds text (true) or it ends or the time is up (false).
    bool waitForErr(std::string_view text,
                    std::chrono::milliseconds limit = std::chrono::milliseconds(10000));
    // Closes the reading end: the program's next line meets a broken pipe.
    void closeErr();
    // Waits for the end; the exit status, or 128 + the signal that ended it.
    int wait();
    // Standard error as read so far (all of it after wait()).
    const std::string& err() const { return err_; }

  private:
    bool readErr(std::chrono::milliseconds limit);
    pid_t pid_ = -1;
    int errFd_ = -1;
    std::string err_;
};

}  // namespace qelto::test
