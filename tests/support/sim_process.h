// A qelto-unitsim process for one test: started with the test's own options, found by the path
// file it writes, stopped by its pid (SIGTERM, then SIGKILL if it will not go), never by name.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace qelto::test {

// The options that start a unit whose memory is `memory` (written to a new state file in workDir),
// followed by `options`.
std::vector<std::string> stateOptions(const std::filesystem::path& workDir,
                                      const nlohmann::json& memory,
                                      std::vector<std::string> options = {});

class SimProcess {
  public:
    // Starts the simulator with extra options and waits until its pseudo-terminal exists. Its
    // files (path, request log, dump) go into a new folder under workDir.
    SimProcess(const std::filesystem::path& workDir, const std::string& executable,
               const std::vector<std::string>& options = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // A unit whose memory starts as `memory` (written to a state file beside its other files).
    static std::unique_ptr<SimProcess> withMemory(const std::filesystem::path& workDir,
                                                  const std::string& executable,
                                                  const nlohmann::json& memory,
                                                  std::vector<std::string> options = {});

    const std::string& portPath() const { return portPath_; }
    pid_t pid() const { return pid_; }

    // Stops it and returns its exit status (what waitpid said, decoded like runProcess).
    int stop();
    // Stops it and returns the memory it dumped (null when it left none).
    nlohmann::json stopAndDump();
    // The memory it holds now, dumped on SIGUSR1 while it keeps running.
    nlohmann::json dumpNow() const;

    // The request log the simulator writes (one JSON object per line), and what it holds so far:
    // every request in order; the poll commands among them; every request as its packet id, a
    // poll as "poll/<command>".
    std::filesystem::path requestLog() const { return dir_ / "requests.jsonl"; }
    std::vector<nlohmann::json> requests() const;
    std::vector<int> pollCommands() const;
    std::vector<std::string> trace() const;
    std::filesystem::path dumpFile() const { return dir_ / "dump.json"; }

  private:
    std::filesystem::path dir_;
    std::string portPath_;
    pid_t pid_ = -1;
};

}  // namespace qelto::test
