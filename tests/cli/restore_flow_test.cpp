// The unit history through qeltoctl against qelto-unitsim: every command on a unit is recorded,
// a write keeps the unit's settings from before it, and a restore brings them back into that unit
// and no other.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "cli/document_writer.h"
#include "cli/qeltoctl_runner.h"
#include "support/sim_process.h"
#include "support/test_env.h"
#include "support/unit_memory.h"

namespace qelto::test {
namespace {

using nlohmann::json;

class RestoreFlow : public ::testing::Test {
  protected:
    void startUnit(const std::vector<std::string>& options = {}) {
        sim.reset();
        sim = SimProcess::withMemory(testDir(), QELTO_UNITSIM_PATH, unitMemory(), options);
    }

    ProcessResult run(std::vector<std::string> args) const {
        for (const char* item : {"--port", "", "--pin", "1234"}) {
            args.emplace_back(*item != '\0' ? item : sim->portPath());
        }
        return runQeltoctl(args);
    }

    // `qeltoctl history --json`, newest first.
    static json entries() {
        const ProcessResult listed = runQeltoctl({"history", "--json"});
        EXPECT_EQ(listed.exitCode, 0) << listed.err;
        return json::parse(listed.out, nullptr, false);
    }

    static std::string document(const std::string& description, const std::string& name) {
        doc::Document edit = doc::resetDocument();
        edit.config.pumpCalibration[1] = 120;  // as the unit has it: no calibration question
        edit.config.unitDescription = doc::fixedText<17>(description);
        const auto path = testDir() / name;
        writeFile(path, doc::writeDocument(edit, 9));
        return path.string();
    }

    std::unique_ptr<SimProcess> sim;
};

// What a person set: the clock runs on, the lock and the counters are the unit's own business,
// a full write dates the calibration, and it sends every trigger of a program that doses, with
// the document's default run time for the pumps that dose nothing there.
json settingsOf(json memory) {
    for (const char* kept : {"clock", "locked", "usage", "calibration"}) {
        memory.erase(kept);
    }
    json dosing = json::array();
    for (json trigger : memory["programs"]) {
        bool doses = false;
        for (json& pump : trigger["pumps"]) {
            doses = doses || pump[0] != 0;
            if (pump[0] == 0) {
                pump = json::array({0, 0, 0, 0, 0});
            }
        }
        if (doses) {
            dosing.push_back(trigger);
        }
    }
    memory["programs"] = dosing;
    return memory;
}

TEST_F(RestoreFlow, WritesKeepTheUnitBeforeThemAndARestoreBringsItBack) {
    startUnit();
    const json atStart = sim->dumpNow();
    ASSERT_TRUE(exited(run({"read", "--out", (testDir() / "read.qlf").string()}), 0));
    ASSERT_TRUE(exited(run({"write", document("Line 1", "one.qlf")}), 0));
    ASSERT_TRUE(exited(run({"write", document("Line 2", "two.qlf")}), 0));
    EXPECT_EQ(sim->dumpNow()["description"], "Line 2");

    const json listed = entries();
    ASSERT_EQ(listed.size(), 5U) << listed.dump();
    std::vector<std::string> operations;
    for (const json& entry : listed) {
        operations.push_back(entry.at("operation"));
        EXPECT_EQ(entry.at("serial"), 123456789);
        EXPECT_EQ(entry.at("result"), "done");
    }
    EXPECT_EQ(operations, (std::vector<std::string>{"write", "backup", "write", "backup", "read"}));

    // The backup before the first write holds the unit as it was found.
    const std::string firstBackup = std::to_string(listed[3].at("id").get<int>());
    ASSERT_TRUE(exited(run({"history", "restore", firstBackup}), 0, {"has the settings"}));
    EXPECT_EQ(settingsOf(sim->dumpNow()), settingsOf(atStart));
    EXPECT_EQ(entries()[0].at("operation"), "restore");
}

TEST_F(RestoreFlow, ARestoreReachesOnlyItsOwnUnitAndABrokenHistoryStopsNothing) {
    startUnit();
    ASSERT_TRUE(exited(run({"read", "--out", (testDir() / "read.qlf").string()}), 0));
    const std::string readId = std::to_string(entries()[0].at("id").get<int>());

    startUnit({"--serial", "987654321"});
    const json before = sim->dumpNow();
    EXPECT_TRUE(exited(run({"history", "restore", readId}), 1,
                       {"987654321", "123456789", "nothing was written"}));
    EXPECT_EQ(settingsOf(sim->dumpNow()), settingsOf(before));
    EXPECT_EQ(sim->dumpNow()["locked"], true);

    // A history file that is a folder: one warning, and the write goes on without a backup.
    const auto folder = testDir() / "history-folder";
    std::filesystem::create_directories(folder);
    ::setenv("QELTO_HISTORY", folder.c_str(), 1);
    const ProcessResult written = run({"write", document("Line 3", "three.qlf")});
    ::unsetenv("QELTO_HISTORY");
    EXPECT_TRUE(exited(written, 0, {"warning:", folder.string()}));
    EXPECT_EQ(sim->stopAndDump()["description"], "Line 3");
}

}  // namespace
}  // namespace qelto::test
