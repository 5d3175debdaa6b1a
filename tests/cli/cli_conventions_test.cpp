// What qeltoctl shares with the command-line tools engineers already know: help on every command,
// usage errors that name the wrong word and the nearest right one, every message on stderr behind
// "qeltoctl:", --quiet, the PIN kept out of the process list, and JSON for scripts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/qeltoctl_runner.h"
#include "support/sim_process.h"
#include "support/test_env.h"

namespace qelto::test {
namespace {

using nlohmann::json;

// Each line a person reads on stderr names the program, as git's and curl's do.
::testing::AssertionResult everyLinePrefixed(const std::string& err) {
    std::istringstream lines(err);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("qeltoctl: ")) {
            return ::testing::AssertionFailure() << "unprefixed line: '" << line << "' in\n" << err;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(CliConventions, HelpVersionAndUsageErrorsNameTheNearestWord) {
    const ProcessResult help = runQeltoctl({"help"});
    EXPECT_TRUE(exited(help, 0));
    EXPECT_NE(help.out.find("verify"), std::string::npos) << help.out;

    const ProcessResult topic = runQeltoctl({"help", "batch", "write"});
    EXPECT_TRUE(exited(topic, 0));
    EXPECT_NE(topic.out.find("--reset-counters"), std::string::npos) << topic.out;

    const ProcessResult version = runQeltoctl({"--version"});
    EXPECT_TRUE(exited(version, 0));
    EXPECT_TRUE(version.out.starts_with("qeltoctl ")) << version.out;

    const struct {
        std::vector<std::string> args;
        std::string said;
    } mistakes[] = {
        {{"reed", "--out", "x.qlf"}, "'reed' is no command of 'qeltoctl'; did you mean 'read'?"},
        {{"help", "verfy"}, "'verfy' is no command of 'qeltoctl'; did you mean 'verify'?"},
        {{"read", "--out", "x.qlf", "--pn", "1"},
         "unknown option '--pn' for 'qeltoctl read'; did you mean '--pin'?"},
        {{"batch", "stat"}, "did you mean 'status'?"},
        {{"read", "--out", "x.qlf", "--pin", "1", "--pin-file", "f"}, "excludes"},
    };
    for (const auto& mistake : mistakes) {
        SCOPED_TRACE(mistake.said);
        const ProcessResult run = runQeltoctl(mistake.args);
        EXPECT_TRUE(exited(run, 2, {mistake.said}));
        EXPECT_TRUE(everyLinePrefixed(run.err));
        EXPECT_EQ(run.out, "");
    }
}

TEST(CliConventions, BatchStatusAndPortsSpeakJson) {
    const ProcessResult status = runQeltoctl({"batch", "status", "--json"});
    ASSERT_TRUE(exited(status, 0));
    const json parsed = json::parse(status.out, nullptr, false);
    ASSERT_TRUE(parsed.is_object()) << status.out;
    EXPECT_EQ(parsed["counter"], 0);
    EXPECT_TRUE(parsed["logFile"].is_null());
    EXPECT_FALSE(parsed["open"].get<bool>());

    const ProcessResult ports = runQeltoctl({"ports", "--json"});
    ASSERT_TRUE(exited(ports, 0));
    EXPECT_TRUE(json::parse(ports.out, nullptr, false).is_array()) << ports.out;
}

class CliOnUnit : public ::testing::Test {
  protected:
    void SetUp() override {
        sim = std::make_unique<SimProcess>(testDir(), QELTO_UNITSIM_PATH);
        pinFile = testDir() / "pin";
        std::ofstream(pinFile) << "1234\n";
    }
    void TearDown() override { ::unsetenv("QELTO_PIN"); }

    std::vector<std::string> on(std::vector<std::string> args) const {
        args.insert(args.end(), {"--port", sim->portPath()});
        return args;
    }

    std::unique_ptr<SimProcess> sim;
    std::filesystem::path pinFile;
};

// The PIN from a file or the environment opens the unit like --pin; JSON results parse; --quiet
// leaves stderr empty on success.
TEST_F(CliOnUnit, PinWithoutTheCommandLineJsonResultsAndQuiet) {
    const std::string document = (testDir() / "unit.qlf").string();
    const ProcessResult read =
        runQeltoctl(on({"read", "--out", document, "--pin-file", pinFile.string()}));
    ASSERT_TRUE(exited(read, 0));
    EXPECT_TRUE(everyLinePrefixed(read.err));
    EXPECT_EQ(read.err.find("press OK"), std::string::npos) << read.err;

    ::setenv("QELTO_PIN", "1234", 1);
    const ProcessResult verify = runQeltoctl(on({"--quiet", "verify", document, "--json"}));
    ASSERT_TRUE(exited(verify, 0));
    EXPECT_EQ(verify.err, "");
    const json verdict = json::parse(verify.out, nullptr, false);
    EXPECT_EQ(verdict["result"], "matches") << verify.out;
    EXPECT_TRUE(verdict["differences"].empty());

    const ProcessResult clock = runQeltoctl(on({"clock", "get", "--json", "--quiet"}));
    ASSERT_TRUE(exited(clock, 0));
    EXPECT_EQ(clock.err, "");
    EXPECT_TRUE(json::parse(clock.out, nullptr, false).contains("time")) << clock.out;

    ::setenv("QELTO_PIN", "12x4", 1);
    EXPECT_TRUE(exited(runQeltoctl(on({"clock", "get"})), 2, {"QELTO_PIN is not a PIN"}));
    std::ofstream(pinFile) << "\n";
    EXPECT_TRUE(exited(runQeltoctl(on({"clock", "get", "--pin-file", pinFile.string()})), 2,
                       {"is not a PIN"}));
}

}  // namespace
}  // namespace qelto::test
