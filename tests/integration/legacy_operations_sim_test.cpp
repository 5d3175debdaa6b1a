// The legacy operations through the real serial code against the simulated older units, with the
// units' pauses skipped: names, comments and the spare byte of a 1.10 unit, and a dishwash read.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "legacy/dishwash_settings.h"
#include "legacy/laundry_config.h"
#include "legacy/laundry_usage.h"
#include "legacy/text_dump.h"
#include "legacy/unit_texts.h"
#include "platform/serial_port.h"
#include "support/sim_process.h"
#include "support/test_env.h"

namespace qelto {
namespace {

using namespace std::chrono_literals;
using legacy::LegacyOutcome;
using nlohmann::json;

class Engineer final : public legacy::LegacyPrompts {
  public:
    std::optional<std::int16_t> askPassword() override { return 1234; }
    bool askYesNo(int) override { return true; }
    void message(int textId, legacy::LegacyIcon, std::optional<legacy::UnitNameText>) override {
        shown.push_back(textId);
    }
    std::vector<int> shown;
};

struct LegacySim {
    test::SimProcess sim;
    legacy::LegacyLink link;

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
    }

    static std::vector<std::string> startOptions(const std::string& kind, const json& memory) {
        const auto state = test::testDir() / "unit.json";
        test::writeFile(state, memory.dump());
        return {"--kind", kind, "--state", state.string()};
    }

    json dump() {
        link.ClosePort();
        sim.stop();
        return json::parse(test::readFile(sim.dumpFile()));
    }
};

TEST(LegacyOperationsAgainstSimulator, AWriteToA110UnitReplacesItsNamesAndComments) {
    LegacySim s(
        "legacy-laundry",
        {{"version", "1.1.0"}, {"programNames", {"Old 1", "Old 2"}}, {"comments", "old comments"}});
    model::CProgData config;
    config.legacyConfig[model::lc::kPumpSpeed] = 66;
    config.progName[0] = "Towels";
    config.progName[19] = "Mops";
    config.comments = std::string(200, 'c');
    Engineer engineer;
    ASSERT_EQ(legacy::WriteLegacyUnit(s.link, engineer, config), LegacyOutcome::Done);

    model::CProgData back;
    ASSERT_EQ(legacy::ReadLegacyUnit(s.link, engineer, back), LegacyOutcome::Done);
    EXPECT_EQ(back.legacyConfig[model::lc::kPumpSpeed], 66);
    EXPECT_EQ(back.progName[0], "Towels");
    EXPECT_EQ(back.progName[1], "");
    EXPECT_EQ(back.progName[19], "Mops");
    EXPECT_EQ(back.comments, config.comments);
    EXPECT_EQ(engineer.shown, (std::vector<int>{legacy::kTextWriteDone, legacy::kTextReadDone}));
}

TEST(LegacyOperationsAgainstSimulator, TheSpareByteReachesA110Unit) {
    LegacySim s("legacy-laundry", {{"version", "1.1.0"}});
    ASSERT_TRUE(legacy::WriteSpareLaundryByte(s.link, 1));
    EXPECT_EQ(s.dump().at("spareByte"), 1);
}

TEST(LegacyOperationsAgainstSimulator, ADishwashReadOfA110UnitTakesTheSecondChargeBlock) {
    LegacySim s("legacy-dishwash",
                {{"version", "1.1.0"},
                 {"comments", "probe cleaned"},
                 {"dishwash", {{"ic2Mode", 3}, {"probeConcentration", 150}, {"propTo", 9}}}});
    legacy::DishwashReading reading;
    ASSERT_EQ(legacy::ReadDishwashSettings(s.link, reading), LegacyOutcome::Done);
    EXPECT_TRUE(reading.stream.secondIc);
    EXPECT_EQ(reading.stream.ic2Mode, 3);
    EXPECT_EQ(reading.stream.probeConcentration, 150);
    EXPECT_EQ(reading.stream.propTo, 9);
    EXPECT_EQ(reading.comments, "probe cleaned");
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
    legacy::LegacyUsage usage;
    ASSERT_EQ(legacy::ReadLegacyUsage(s.link, usage), LegacyOutcome::Done);
    EXPECT_EQ(usage.totalCycles, 700U);
    EXPECT_EQ(usage.records[legacy::kUsageTotalsRow].usage[0].high, 300);
    EXPECT_EQ(usage.records[legacy::kUsageTotalsRow].flowRate[0], 150U);
    EXPECT_EQ(usage.programPresent[4], 1);
    EXPECT_EQ(usage.records[4].usage[1], (legacy::UsageTotal{1, 2, 3}));
    EXPECT_EQ(usage.records[4].cycles[0], 9);

    std::vector<std::string> lines;
    ASSERT_EQ(legacy::ReadTextDump(s.link, lines), LegacyOutcome::Done);
    EXPECT_EQ(lines, (std::vector<std::string>{"LINE 1", "LINE 2"}));
}

}  // namespace
}  // namespace qelto
