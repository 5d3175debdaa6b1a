// The older units' operations through the real serial code against the simulated older units,
// with the units' short pauses skipped: names, comments and the spare byte of a 1.10 unit, a
// dishwash read and verify, the usage counters and the text dump.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "comms/legacy_context.h"
#include "comms/legacy_operations.h"
#include "comms/scripted_prompts.h"
#include "platform/serial_port.h"
#include "support/sim_process.h"
#include "support/test_env.h"

namespace qelto {
namespace {

using namespace std::chrono_literals;
using comms::OperationStatus;
using nlohmann::json;

struct LegacySim {
    test::SimProcess sim;
    legacy::LegacyLink link;
    model::NoPumpNameDefaults noNames;
    model::CProgData config;
    model::CQeltoDoc doc{config, noNames};
    test::ScriptedPrompts engineer;
    comms::LegacyContext context{
        doc, link, engineer, [](int id) { return std::to_string(id); }, {}};

    LegacySim(const std::string& kind, const json& memory)
        : sim(test::testDir(), QELTO_UNITSIM_PATH, startOptions(kind, memory)),
          link(
              [](const std::string& name, unsigned baud,
                 std::string* error) -> std::unique_ptr<platform::ByteLink> {
                  return platform::SerialPort::open(name, baud, error);
              },
              500ms,
              [](std::chrono::milliseconds pause) {
                  // Only the long breaths before a text command and after an end packet are taken
                  // for real: a sign-on follows them and purges the port, and bytes still on
                  // their way to the unit would be lost.
                  if (pause >= 250ms) {
                      std::this_thread::sleep_for(pause);
                  }
              }) {
        link.setPortName(sim.portPath());
        doc.onNewDocument();
        engineer.password = 1234;
        engineer.yes = true;
    }

    static std::vector<std::string> startOptions(const std::string& kind, const json& memory) {
        const auto state = test::testDir() / "unit.json";
        test::writeFile(state, memory.dump());
        return {"--kind", kind, "--state", state.string()};
    }

    json dump() {
        link.closePort();
        sim.stop();
        return json::parse(test::readFile(sim.dumpFile()));
    }
};

TEST(LegacyOperationsAgainstSimulator, AWriteToA110UnitReplacesItsNamesAndComments) {
    LegacySim s(
        "legacy-laundry",
        {{"version", "1.1.0"}, {"programNames", {"Old 1", "Old 2"}}, {"comments", "old comments"}});
    s.config.legacyConfig[model::lc::kPumpSpeed] = 66;
    s.config.progName[0] = "Towels";
    s.config.progName[19] = "Mops";
    const std::string comments(200, 'c');
    s.config.comments = comments;
    ASSERT_EQ(comms::writeOlderLaundry(s.context).status, OperationStatus::Ok);

    s.doc.onNewDocument();
    ASSERT_EQ(comms::readOlderLaundry(s.context).status, OperationStatus::Ok);
    EXPECT_EQ(s.config.legacyConfig[model::lc::kPumpSpeed], 66);
    EXPECT_EQ(s.config.progName[0], "Towels");
    EXPECT_EQ(s.config.progName[1], "");
    EXPECT_EQ(s.config.progName[19], "Mops");
    EXPECT_EQ(s.config.comments, comments);
    EXPECT_EQ(s.engineer.messages, (std::vector<int>{comms::kMsgWriteDone, comms::kMsgReadDone}));
}

TEST(LegacyOperationsAgainstSimulator, TheSpareByteReachesA110Unit) {
    LegacySim s("legacy-laundry", {{"version", "1.1.0"}});
    ASSERT_EQ(comms::writeSpareLaundryByte(s.context, 1).status, OperationStatus::Ok);
    EXPECT_EQ(s.dump().at("spareByte"), 1);
}

TEST(LegacyOperationsAgainstSimulator, ADishwashReadOfA110UnitTakesTheSecondChargeBlock) {
    LegacySim s("legacy-dishwash", {{"version", "1.1.0"},
                                    {"comments", "probe cleaned"},
                                    {"dishwash",
                                     {{"customerLines", {"Cafe Nord", ""}},
                                      {"ic2Mode", 3},
                                      {"probeConcentration", 150},
                                      {"propTo", 9}}}});
    ASSERT_EQ(comms::readOlderDishwash(s.context).status, OperationStatus::Ok);
    const model::CDishWashViewData& read = s.doc.dishwash();
    EXPECT_EQ(read.DW_ProbeConcentration, 150);
    EXPECT_EQ(read.DW_PropTo, 9);
    EXPECT_EQ(s.config.comments, "probe cleaned");
    EXPECT_EQ(model::textOf(s.config.customerName1), "Cafe Nord");

    // The unit agrees with what was read from it, and names the one setting changed since.
    comms::OperationResult verified = comms::verifyOlderDishwash(s.context);
    EXPECT_EQ(verified.verified, true);
    s.doc.dishwash().DW_PropTo = 7;
    verified = comms::verifyOlderDishwash(s.context);
    ASSERT_EQ(verified.differences.size(), 1U);
    EXPECT_EQ(comms::olderDifferenceLine(verified.differences[0]), "prop to: unit 9, document 7");
    EXPECT_EQ(verified.closingMessage, comms::kMsgVerifyMismatch);
}

TEST(LegacyOperationsAgainstSimulator, UsageAndTheTextDumpComeFromTheUnitsCounters) {
    json programs = json::array();
    for (int i = 0; i < 20; ++i) {
        programs.push_back(
            {{"used", i == 4}, {"time", {{0, 10, 20}, {1, 2, 3}}}, {"cycles", {9, 8}}});
    }
    LegacySim s("legacy-laundry", {{"version", "1.0.9"},
                                   {"dumpText", "LINE 1\r\nLINE 2"},
                                   {"usage",
                                    {{"pumpCount", 2},
                                     {"totalCycles", 700},
                                     {"pumps", {{{"hours", 300}, {"flow", 150}, {"cycles", 40}}}},
                                     {"programs", programs}}}});
    comms::UnitReport report;
    ASSERT_EQ(comms::readOlderUsage(s.context, report).status, OperationStatus::Ok);
    EXPECT_EQ(report.kind, reports::REP_TYPE_LAUNDRY_CYCLES);
    EXPECT_EQ(report.pumpCount, 2U);
    EXPECT_EQ(report.data.totalCycles, 700U);

    std::vector<std::string> lines;
    ASSERT_EQ(comms::readOlderTextDump(s.context, lines).status, OperationStatus::Ok);
    EXPECT_EQ(lines, (std::vector<std::string>{"LINE 1", "LINE 2"}));
}

}  // namespace
}  // namespace qelto
