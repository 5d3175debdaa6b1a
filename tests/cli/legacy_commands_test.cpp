// qeltoctl legacy against qelto-unitsim's older units on a pseudo-terminal: what a read saves,
// what a write leaves in the unit, the dishwash read and verify, and the exit statuses.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "cli/qeltoctl_runner.h"
#include "support/sim_process.h"
#include "support/test_env.h"

namespace qelto::test {
namespace {

using nlohmann::json;

json laundryUnit(const std::string& version) {
    return json{{"version", version},
                {"password", 4321},
                {"config",
                 {{"customerLines", {"Hotel Sud", "Laundry 2"}},
                  {"unitType", 7},
                  {"pumpSpeed", 90},
                  {"accessCode", 12},
                  {"resetDelay", 125},
                  {"flushValveTime", 90},
                  {"runTime", {1, 15}},
                  {"pins", {1111, 2222, 3333}},
                  {"auxByte", 9}}},
                {"programNames", {"Towels", "Sheets"}},
                {"comments", "Checked on site."}};
}

json dishwashUnit() {
    return json{{"version", "1.0.9"},
                {"dishwash",
                 {{"customerLines", {"Cafe Nord", ""}},
                  {"pins", {1, 2, 3}},
                  {"typeByte", 2},
                  {"modeByte", 3},
                  {"icMode", 2},
                  {"numPumps", 2},
                  {"pumps", {{{"speed", 60}}, {{"speed", 70}}, {{"speed", 80}}}},
                  {"outputs", {{{"percent", 40}, {"time", {12, 34}}}}}}}};
}

class LegacyCommands : public ::testing::Test {
  protected:
    std::unique_ptr<SimProcess> start(const std::string& kind, const json& memory,
                                      const std::string& name = "unit") {
        const auto state = testDir() / (name + ".json");
        writeFile(state, memory.dump());
        return std::make_unique<SimProcess>(
            testDir(), QELTO_UNITSIM_PATH,
            std::vector<std::string>{"--kind", kind, "--state", state.string()});
    }

    static json dumpOf(SimProcess& sim) {
        sim.stop();
        return json::parse(readFile(sim.dumpFile()));
    }

    static int legacyByte(const json& shown, std::size_t offset) {
        const std::string hex = shown.at("config").at("legacyConfig").get<std::string>();
        return std::stoi(hex.substr(2 * offset, 2), nullptr, 16);
    }
};

TEST_F(LegacyCommands, ReadSavesTheLegacyImageNamesAndComments) {
    auto sim = start("legacy-laundry", laundryUnit("1.1.0"));
    const auto out = testDir() / "read.qlf";
    const ProcessResult r = runQeltoctl(
        {"legacy", "read", "--port", sim->portPath(), "--password", "4321", "--out", out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const ShowResult shown = showDocument(out);
    ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
    EXPECT_EQ(legacyByte(shown.json, 44), 90);  // pump speed
    EXPECT_EQ(legacyByte(shown.json, 47), 2);   // reset delay 2:05
    EXPECT_EQ(legacyByte(shown.json, 48), 5);
    EXPECT_EQ(legacyByte(shown.json, 56), 1);  // default run 1:15
    EXPECT_EQ(legacyByte(shown.json, 57), 15);
    EXPECT_EQ(legacyByte(shown.json, 65), 1111 & 0xFF);
    EXPECT_EQ(shown.json["config"]["progName"][1], "Sheets");
    EXPECT_EQ(shown.json["config"]["comments"], "Checked on site.");
}

TEST_F(LegacyCommands, AWrongPasswordSavesNothingAndSaysWhy) {
    auto sim = start("legacy-laundry", laundryUnit("1.1.0"));
    const auto out = testDir() / "read.qlf";
    const ProcessResult r = runQeltoctl(
        {"legacy", "read", "--port", sim->portPath(), "--password", "1234", "--out", out.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("refused the password"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(LegacyCommands, WriteCarriesOneUnitsConfigurationIntoAnother) {
    auto source = start("legacy-laundry", laundryUnit("1.0.9"), "source");
    const auto doc = testDir() / "unit.qlf";
    ASSERT_EQ(runQeltoctl({"legacy", "read", "--port", source->portPath(), "--password", "4321",
                           "--out", doc.string()})
                  .exitCode,
              0);
    const json sourceConfig = dumpOf(*source).at("config");

    auto target = start("legacy-laundry", json{{"version", "1.0.9"}, {"password", 77}}, "target");
    const ProcessResult r = runQeltoctl(
        {"legacy", "write", doc.string(), "--port", target->portPath(), "--password", "77"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(dumpOf(*target).at("config"), sourceConfig);
}

TEST_F(LegacyCommands, ThirdCommandReachesTheUnitOnce) {
    auto sim = start("legacy-laundry", laundryUnit("1.0.9"));
    const ProcessResult r =
        runQeltoctl({"legacy", "third", "--port", sim->portPath(), "--password", "4321"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(dumpOf(*sim).at("thirdCommandCount"), 1);
}

TEST_F(LegacyCommands, DishwashReadThenVerifyAgreesAndAChangedUnitDiffers) {
    auto sim = start("legacy-dishwash", dishwashUnit());
    const auto doc = testDir() / "dish.qlf";
    ProcessResult r = runQeltoctl(
        {"legacy", "dishwash", "read", "--port", sim->portPath(), "--out", doc.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const ShowResult shown = showDocument(doc);
    EXPECT_EQ(shown.json["dishwash"]["DW_UnitMode"], 2);
    EXPECT_EQ(shown.json["dishwash"]["DW_PumpSpeed"], json({60, 70, 80}));
    EXPECT_EQ(shown.json["dishwash"]["DW_Pin"], json({1, 2, 3}));

    r = runQeltoctl({"legacy", "dishwash", "verify", doc.string(), "--port", sim->portPath()});
    EXPECT_EQ(r.exitCode, 0) << r.err << r.out;
    EXPECT_EQ(r.out, "");
    sim->stop();

    json changed = dishwashUnit();
    changed["dishwash"]["pumps"][1]["speed"] = 75;
    auto other = start("legacy-dishwash", changed, "other");
    r = runQeltoctl({"legacy", "dishwash", "verify", doc.string(), "--port", other->portPath()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "pump 2 speed: unit 75, document 70\n");
}

TEST_F(LegacyCommands, AMissingPortFailsWithItsNameAndABadPasswordIsAUsageError) {
    const auto port = (testDir() / "ttyNone").string();
    ProcessResult r = runQeltoctl({"legacy", "third", "--port", port, "--password", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("ttyNone"), std::string::npos) << r.err;
    r = runQeltoctl({"legacy", "third", "--port", port, "--password", "70000"});
    EXPECT_EQ(r.exitCode, 2);
}

// Ctrl-C or `kill` in the middle of a slow read cancels it at once: 128 + the signal, nothing
// saved.
TEST_F(LegacyCommands, AStopSignalCancelsAReadAtOnce) {
    using namespace std::chrono;
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        const auto state = testDir() / "paced.json";
        writeFile(state, laundryUnit("1.1.0").dump());
        SimProcess paced(testDir(), QELTO_UNITSIM_PATH,
                         {"--kind", "legacy-laundry", "--state", state.string(), "--pace"});
        const auto out = testDir() / "cancelled.qlf";
        std::vector<std::string> args{QELTOCTL_PATH, "legacy",         "read",
                                      "--port",      paced.portPath(), "--password",
                                      "4321",        "--out",          out.string()};
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        pid_t pid = -1;
        ASSERT_EQ(::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
        std::this_thread::sleep_for(milliseconds(800));  // past the password, in the names
        const auto sent = steady_clock::now();
        ::kill(pid, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_LT(steady_clock::now() - sent, milliseconds(500));
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

}  // namespace
}  // namespace qelto::test
