#include "support/sim_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>

extern char** environ;

namespace qelto::test {
namespace {

using namespace std::chrono_literals;

int decode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

SimProcess::SimProcess(const std::filesystem::path& workDir, const std::string& executable,
                       const std::vector<std::string>& options) {
    static int instance = 0;
    dir_ = workDir / ("sim" + std::to_string(instance++));
    std::filesystem::create_directories(dir_);
    const std::filesystem::path pathFile = dir_ / "port";

    std::vector<std::string> argv{executable,         "--path-file",         pathFile.string(),
                                  "--request-log",    requestLog().string(), "--dump",
                                  dumpFile().string()};
    argv.insert(argv.end(), options.begin(), options.end());
    std::vector<char*> args;
    for (auto& a : argv) {
        args.push_back(a.data());
    }
    args.push_back(nullptr);

    // The simulator prints its path on stdout too; nobody reads it here, so it goes nowhere.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const int rc = ::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        throw std::system_error(rc, std::generic_category(), "cannot start qelto-unitsim");
    }

    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(pathFile);
        if (in && std::getline(in, portPath_) && !portPath_.empty()) {
            return;
        }
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("qelto-unitsim exited at start with status " +
                                     std::to_string(decode(status)));
        }
        std::this_thread::sleep_for(10ms);
    }
    stop();
    throw std::runtime_error("qelto-unitsim did not report its pseudo-terminal within 10 s");
}

SimProcess::~SimProcess() {
    stop();
}

std::vector<std::string> stateOptions(const std::filesystem::path& workDir,
                                      const nlohmann::json& memory,
                                      std::vector<std::string> options) {
    static int count = 0;
    const auto state = workDir / ("unit" + std::to_string(count++) + ".json");
    std::ofstream(state) << memory.dump();
    options.insert(options.begin(), {"--state", state.string()});
    return options;
}

std::unique_ptr<SimProcess> SimProcess::withMemory(const std::filesystem::path& workDir,
                                                   const std::string& executable,
                                                   const nlohmann::json& memory,
                                                   std::vector<std::string> options) {
    return std::make_unique<SimProcess>(workDir, executable,
                                        stateOptions(workDir, memory, std::move(options)));
}

nlohmann::json SimProcess::stopAndDump() {
    stop();
    std::ifstream in(dumpFile());
    return in ? nlohmann::json::parse(in) : nlohmann::json();
}

nlohmann::json SimProcess::dumpNow() const {
    std::filesystem::remove(dumpFile());
    ::kill(pid_, SIGUSR1);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!std::filesystem::exists(dumpFile()) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    std::ifstream in(dumpFile());  // written whole under another name, then renamed
    return in ? nlohmann::json::parse(in) : nlohmann::json();
}

std::vector<nlohmann::json> SimProcess::requests() const {
    std::vector<nlohmann::json> out;
    std::ifstream in(requestLog());
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            out.push_back(nlohmann::json::parse(line));
        }
    }
    return out;
}

std::vector<int> SimProcess::pollCommands() const {
    std::vector<int> out;
    for (const auto& request : requests()) {
        if (request.contains("cmd")) {
            out.push_back(request["cmd"].get<int>());
        }
    }
    return out;
}

std::vector<std::string> SimProcess::trace() const {
    std::vector<std::string> out;
    for (const auto& request : requests()) {
        out.push_back(request.contains("cmd") ? "poll/" + request["cmd"].dump()
                                              : request.value("id", nlohmann::json()).dump());
    }
    return out;
}

int SimProcess::stop() {
    if (pid_ <= 0) {
        return -1;
    }
    ::kill(pid_, SIGTERM);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(5ms);
    }
    pid_ = -1;
    return decode(status);
}

}  // namespace qelto::test
