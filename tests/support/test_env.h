// Shared helpers of the test programs.
//
// Every test runs in a fresh temporary directory that is also its HOME, XDG_CONFIG_HOME and
// working directory (a listener installed by test_env.cpp does this around each test), so no
// test reads or writes the settings or files of the person running the suite.
#pragma once

#include <cstdint>
#include <filesystem>
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

// Runs a program (argv[0] is its path), waits for it and collects its output. The child gets the
// test's environment, so it sees the test's HOME.
ProcessResult runProcess(const std::vector<std::string>& argv, std::string_view input = {});

}  // namespace qelto::test
