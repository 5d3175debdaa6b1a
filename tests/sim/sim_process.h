// Runs qelto-unitsim for a test: starts it, reads the pty path from its first line of output,
// opens the pty raw, and stops it by its pid (SIGTERM, then waitpid) when asked or when the test
// ends, so nothing is left running.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace qelto::sim::test {

class SimProcess {
  public:
    explicit SimProcess(const std::vector<std::string>& args);
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess();

    const std::string& ptyPath() const { return ptyPath_; }
    pid_t pid() const { return pid_; }

    void openPort();  // opens the pty path raw; the port stays open until closePort()
    void closePort();
    void write(const std::vector<std::uint8_t>& bytes);
    // Reads until count bytes arrived or the time ran out; returns what arrived.
    std::vector<std::uint8_t> read(std::size_t count,
                                   std::chrono::milliseconds wait = std::chrono::milliseconds(500));
    std::vector<std::uint8_t> exchange(
        const std::vector<std::uint8_t>& request, std::size_t count,
        std::chrono::milliseconds wait = std::chrono::milliseconds(500));

    // SIGTERM and wait; returns the exit status (128 + signal when killed).
    int stop();
    void signal(int number);

  private:
    pid_t pid_ = -1;
    int port_ = -1;
    std::string ptyPath_;
};

}  // namespace qelto::sim::test
