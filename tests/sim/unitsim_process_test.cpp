// qelto-unitsim as a process: what a script that starts it by hand relies on. Its serving of the
// PC's requests on its pseudo-terminal is what every test in tests/integration does.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "support/test_env.h"

namespace qelto::test {
namespace {

using namespace std::chrono_literals;

// Started through a shell whose first line is its pid, which the simulator keeps after exec, so
// the test stops it by its pid whatever happens; the simulator's own first line is its path.
struct ShellStarted {
    FILE* out = nullptr;
    pid_t pid = -1;
    ~ShellStarted() {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
        }
        if (out != nullptr) {
            ::pclose(out);
        }
    }
    std::string line() {
        char text[256] = {};
        return std::fgets(text, sizeof text, out) != nullptr ? text : "";
    }
};

TEST(UnitsimProcess, PrintsItsPathOnceThePathFileIsInPlaceAndDumpsOnSigusr1) {
    ShellStarted sim;
    sim.out = ::popen(("echo $$; exec '" + std::string(QELTO_UNITSIM_PATH) +
                       "' --path-file pty.txt --dump dump.json")
                          .c_str(),
                      "r");
    ASSERT_NE(sim.out, nullptr);
    sim.pid = std::stoi(sim.line());
    const std::string path = sim.line();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(readFile("pty.txt"), path);

    ::kill(sim.pid, SIGUSR1);
    for (int i = 0; i < 200 && !std::filesystem::exists("dump.json"); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(std::filesystem::exists("dump.json"));
    ::kill(sim.pid, SIGTERM);
    sim.pid = -1;
    EXPECT_EQ(::pclose(sim.out), 0);
    sim.out = nullptr;
}

TEST(UnitsimProcess, RefusesABadStateFileWithAReason) {
    writeFile("state.json", std::string_view(R"({"unitType": "three"})"));
    const auto result = runProcess({QELTO_UNITSIM_PATH, "--state", "state.json"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("unitType"), std::string::npos);
    EXPECT_TRUE(result.out.empty());
}

}  // namespace
}  // namespace qelto::test
