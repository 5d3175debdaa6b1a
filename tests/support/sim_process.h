// A qelto-unitsim process for one test: started with the test's own options, found by the path
// file it writes, stopped by its pid (SIGTERM, then SIGKILL if it will not go), never by name.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace qelto::test {

class SimProcess {
  public:
    // Starts the simulator with extra options and waits until its pseudo-terminal exists. Its
    // files (path, request log, dump) go into a new folder under workDir.
    SimProcess(const std::filesystem::path& workDir, const std::string& executable,
               const std::vector<std::string>& options = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& portPath() const { return portPath_; }
    pid_t pid() const { return pid_; }

    // Stops it and returns its exit status (what waitpid said, decoded like runProcess).
    int stop();

    // The request log the simulator writes (one JSON object per line).
    std::filesystem::path requestLog() const { return dir_ / "requests.jsonl"; }
    std::filesystem::path dumpFile() const { return dir_ / "dump.json"; }

  private:
    std::filesystem::path dir_;
    std::string portPath_;
    pid_t pid_ = -1;
};

}  // namespace qelto::test
