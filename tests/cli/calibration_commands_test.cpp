// qeltoctl calibration, pump run and reset against qelto-unitsim: what reaches the unit, what is
// printed, and the exit status, including a run stopped by a signal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "cli/document_writer.h"
#include "cli/qeltoctl_runner.h"
#include "protocol/packet.h"
#include "support/sim_process.h"
#include "support/test_env.h"

namespace qelto::test {
namespace {

using nlohmann::json;

class CalibrationCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto state = testDir() / "unit.json";
        writeFile(state, json{{"pin", 1234},
                              {"unitType", 3},
                              {"globals", {{"pumpSpeeds", {55, 65}}, {"resetDelay", 90}}},
                              {"calibration", json::array({{{"volume", 0}}, {{"volume", 120}}})}}
                             .dump());
        sim = std::make_unique<SimProcess>(testDir(), QELTO_UNITSIM_PATH,
                                           std::vector<std::string>{"--state", state.string()});
    }

    std::vector<std::string> link() const { return {"--port", sim->portPath(), "--pin", "1234"}; }

    ProcessResult run(std::vector<std::string> args) const {
        const auto l = link();
        args.insert(args.end(), l.begin(), l.end());
        return runQeltoctl(args);
    }

    json unitAfter() {
        sim->stop();
        return json::parse(readFile(sim->dumpFile()));
    }

    std::unique_ptr<SimProcess> sim;
};

TEST_F(CalibrationCommands, SetChangesOnlyTheNamedPumpsAndGetShowsThem) {
    const ProcessResult set = run({"calibration", "set", "--flow", "1=250", "--speed", "2=48"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    const ProcessResult got = run({"calibration", "get", "--json"});
    ASSERT_EQ(got.exitCode, 0) << got.err;
    const json page = json::parse(got.out);
    EXPECT_EQ(page["pumps"][0]["flow"], 250);
    EXPECT_EQ(page["pumps"][1]["flow"], 120);
    EXPECT_EQ(page["pumps"][0]["speed"], 55);
    EXPECT_EQ(page["pumps"][1]["speed"], 50);
    EXPECT_EQ(unitAfter()["globals"]["resetDelay"], 90);
}

TEST_F(CalibrationCommands, BadValuesAreRefusedBeforeTheUnitIsTouched) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"calibration", "set", "--speed", "1=20"},
             {"calibration", "set", "--flow", "11=5"},
             {"calibration", "set", "--flow", "1=70000"},
             {"calibration", "set"},
             {"reset", "memory"}}) {  // no --yes and no terminal to ask at
        const ProcessResult r = run(args);
        EXPECT_EQ(r.exitCode, 2) << args[1] << ": " << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(sim->requestLog()) &&
                 !readFile(sim->requestLog()).empty());
}

TEST_F(CalibrationCommands, PumpsTheUnitOrTheDocumentDoesNotHaveAreRefusedWithNothingSent) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"calibration", "set", "--flow", "9=100"},
             {"calibration", "set", "--flow", "1=100", "--speed", "5=50"},
             {"pump", "run", "9"}}) {
        const ProcessResult r = run(args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_NE(r.err.find(": this unit has 4 pumps (1 to 4)"), std::string::npos) << r.err;
    }
    // The unit was read for its pump count, and nothing else.
    std::istringstream requests(readFile(sim->requestLog()));
    for (std::string line; std::getline(requests, line);) {
        EXPECT_EQ(json::parse(line).at("id"), protocol::PKT_POLL) << line;
    }
    const json unit = unitAfter();
    EXPECT_EQ(unit["calibration"][0]["volume"], 0);
    EXPECT_TRUE(unit.value("pumpRuns", json::array()).empty());

    const auto in = testDir() / "l4.qlf";
    writeFile(in, doc::writeDocument(doc::resetDocument(), 9));  // an L4: four pumps
    const ProcessResult applied = runQeltoctl({"calibration", "apply", in.string(), "--out",
                                               (testDir() / "out.qlf").string(), "--flow", "7=90"});
    EXPECT_EQ(applied.exitCode, 2) << applied.err;
    EXPECT_NE(applied.err.find("pump 7: the document's unit type L4 has 4 pumps"),
              std::string::npos)
        << applied.err;
    EXPECT_FALSE(std::filesystem::exists(testDir() / "out.qlf"));
}

TEST_F(CalibrationCommands, ResetsReachTheUnit) {
    EXPECT_EQ(run({"reset", "washes"}).exitCode, 0);
    EXPECT_EQ(run({"reset", "counters"}).exitCode, 0);
    const ProcessResult erased = run({"reset", "memory", "--yes"});
    EXPECT_EQ(erased.exitCode, 0) << erased.err;
}

// Ctrl-C, `kill` and `timeout` alike stop the pump before the unit is locked; the exit status
// names the signal.
TEST_F(CalibrationCommands, ARunLeftToItsEndSendsOneCommandAndAStopSignalStopsTheNext) {
    const ProcessResult full = run({"pump", "run", "2", "--run-wait-ms", "300"});
    EXPECT_EQ(full.exitCode, 0) << full.err;

    for (const int signal : {SIGINT, SIGTERM}) {
        std::vector<std::string> argv{QELTOCTL_PATH, "pump", "run", "1"};
        const auto l = link();
        argv.insert(argv.end(), l.begin(), l.end());
        std::vector<char*> raw;
        for (auto& a : argv) {
            raw.push_back(a.data());
        }
        raw.push_back(nullptr);
        const auto err = testDir() / "run.err";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        pid_t pid = -1;
        ASSERT_EQ(::posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        for (int i = 0; i < 100 && readFile(err).find("Ctrl-C stops it") == std::string::npos;
             ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ::kill(pid, signal);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << readFile(err);
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal) << readFile(err);
        EXPECT_NE(readFile(err).find("stopped early"), std::string::npos) << readFile(err);
    }

    // The full run, then a start and a stop for each signal.
    const json runs = unitAfter()["pumpRuns"];
    ASSERT_EQ(runs.size(), 5u) << runs.dump();
    EXPECT_EQ(runs[0]["pump"], 1);
    EXPECT_EQ(runs[0]["speed"], 65);
    for (const std::size_t start : {1u, 3u}) {
        EXPECT_EQ(runs[start]["pump"], 0);
        EXPECT_EQ(runs[start]["seconds"], 60);
        EXPECT_EQ(runs[start + 1]["seconds"], 0);
    }
}

TEST(CalibrationApply, ADocumentGetsDosesForTheRunTimesOfANewlyCalibratedPump) {
    doc::Document written = doc::resetDocument();
    written.config.programs[0][0][1].runTime = {1, 15, 0};
    const auto in = testDir() / "in.qlf";
    const auto out = testDir() / "out.qlf";
    writeFile(in, doc::writeDocument(written, 9));
    const ProcessResult applied = runQeltoctl(
        {"calibration", "apply", in.string(), "--out", out.string(), "--flow", "2=120"});
    ASSERT_EQ(applied.exitCode, 0) << applied.err;
    const ShowResult shown = showDocument(out);
    ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
    EXPECT_EQ(shown.json["config"]["pumpCalibration"][1], 120);
    EXPECT_EQ(shown.json["config"]["programs"][0][0][1]["dose"], 150);
    EXPECT_EQ(runQeltoctl({"calibration", "apply", in.string(), "--speed", "1=10"}).exitCode, 2);
}

}  // namespace
}  // namespace qelto::test
