// qeltoctl calibration, pump run and reset against qelto-unitsim: what reaches the unit, what is
// printed, and the exit status, including a run stopped by a signal.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli/document_writer.h"
#include "cli/qeltoctl_runner.h"
#include "protocol/packet.h"
#include "support/sim_process.h"
#include "support/test_env.h"
#include "support/unit_memory.h"

namespace qelto::test {
namespace {

using nlohmann::json;

class CalibrationCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        sim = SimProcess::withMemory(testDir(), QELTO_UNITSIM_PATH, unitMemory());
    }

    std::vector<std::string> link() const { return {"--port", sim->portPath(), "--pin", "1234"}; }

    ProcessResult run(std::vector<std::string> args) const {
        const auto l = link();
        args.insert(args.end(), l.begin(), l.end());
        return runQeltoctl(args);
    }

    std::unique_ptr<SimProcess> sim;
};

TEST_F(CalibrationCommands, SetChangesOnlyTheNamedPumpsGetShowsThemAndResetsReachTheUnit) {
    ASSERT_TRUE(exited(run({"calibration", "set", "--flow", "1=250", "--speed", "2=48"}), 0));
    const ProcessResult got = run({"calibration", "get", "--json"});
    ASSERT_TRUE(exited(got, 0));
    const json page = json::parse(got.out);
    EXPECT_EQ(page["pumps"][0]["flow"], 250);
    EXPECT_EQ(page["pumps"][1]["flow"], 120);
    EXPECT_EQ(page["pumps"][0]["speed"], 55);
    EXPECT_EQ(page["pumps"][1]["speed"], 50);

    for (const char* what : {"washes", "counters"}) {
        EXPECT_TRUE(exited(run({"reset", what}), 0)) << what;
    }
    EXPECT_EQ(std::ranges::count(sim->pollCommands(), protocol::CMD_RESET), 2);
    EXPECT_TRUE(exited(run({"reset", "memory", "--yes"}), 0));
    const json unit = sim->stopAndDump();
    EXPECT_EQ(unit["calibration"][1]["volume"], 0);
}

// Bad values are refused before the unit is touched; pumps the unit does not have after reading
// only its pump count.
TEST_F(CalibrationCommands, BadValuesAndPumpsTheUnitOrDocumentLacksAreRefusedWithNothingSent) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"calibration", "set", "--speed", "1=20"},
             {"calibration", "set", "--flow", "11=5"},
             {"calibration", "set", "--flow", "1=70000"},
             {"calibration", "set"},
             {"reset", "memory"}}) {  // no --yes and no terminal to ask at
        EXPECT_TRUE(exited(run(args), 2)) << args[1];
    }
    EXPECT_TRUE(sim->requests().empty());
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"calibration", "set", "--flow", "9=100"},
             {"calibration", "set", "--flow", "1=100", "--speed", "5=50"},
             {"pump", "run", "9"}}) {
        EXPECT_TRUE(exited(run(args), 2, {": this unit has 4 pumps (1 to 4)"}));
    }
    for (const json& request : sim->requests()) {
        EXPECT_EQ(request.at("id"), protocol::PKT_POLL) << request;
    }
    const json unit = sim->stopAndDump();
    EXPECT_EQ(unit["calibration"][0]["volume"], 0);
    EXPECT_TRUE(unit.value("pumpRuns", json::array()).empty());

    const auto in = testDir() / "l4.qlf";
    writeFile(in, doc::writeDocument(doc::resetDocument(), 9));  // an L4: four pumps
    EXPECT_TRUE(exited(runQeltoctl({"calibration", "apply", in.string(), "--out",
                                    (testDir() / "out.qlf").string(), "--flow", "7=90"}),
                       2, {"pump 7: the document's unit type L4 has 4 pumps"}));
    EXPECT_FALSE(std::filesystem::exists(testDir() / "out.qlf"));
}

// Ctrl-C, `kill` and `timeout` alike stop the pump before the unit is locked; the exit status
// names the signal.
TEST_F(CalibrationCommands, ARunLeftToItsEndSendsOneCommandAndAStopSignalStopsTheNext) {
    EXPECT_TRUE(exited(run({"pump", "run", "2", "--run-wait-ms", "300"}), 0));
    for (const int signal : {SIGINT, SIGTERM}) {
        std::vector<std::string> args{QELTOCTL_PATH, "pump", "run", "1"};
        const auto l = link();
        args.insert(args.end(), l.begin(), l.end());
        StartedProcess pump(args);
        EXPECT_TRUE(pump.waitForErr("Ctrl-C stops it"));
        // The run's own stop handler goes in just after that line is printed.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ::kill(pump.pid(), signal);
        EXPECT_EQ(pump.wait(), 128 + signal) << pump.err();
        EXPECT_NE(pump.err().find("stopped early"), std::string::npos) << pump.err();
    }

    // The full run, then a start and a stop for each signal (the commands' bytes are the
    // calibration session's tests').
    const json runs = sim->stopAndDump()["pumpRuns"];
    ASSERT_EQ(runs.size(), 5u) << runs.dump();
    EXPECT_EQ(runs[2]["seconds"], 0);
    EXPECT_EQ(runs[4]["seconds"], 0);
}

TEST(CalibrationApply, ADocumentGetsDosesForTheRunTimesOfANewlyCalibratedPump) {
    doc::Document written = doc::resetDocument();
    written.config.programs[0][0][1].runTime = {1, 15, 0};
    const auto in = testDir() / "in.qlf";
    const auto out = testDir() / "out.qlf";
    writeFile(in, doc::writeDocument(written, 9));
    ASSERT_TRUE(exited(runQeltoctl({"calibration", "apply", in.string(), "--out", out.string(),
                                    "--flow", "2=120"}),
                       0));
    const ShowResult shown = showDocument(out);
    ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
    EXPECT_EQ(shown.json["config"]["pumpCalibration"][1], 120);
    EXPECT_EQ(shown.json["config"]["programs"][0][0][1]["dose"], 150);
    EXPECT_EQ(runQeltoctl({"calibration", "apply", in.string(), "--speed", "1=10"}).exitCode, 2);
}

}  // namespace
}  // namespace qelto::test
