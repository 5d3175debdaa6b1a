// qeltoctl legacy usage, dump and spare-byte against qelto-unitsim's older laundry unit: the
// figures a manager reads back from the usage page's cell tags, the unit's text on the dump page,
// the spare byte in the unit, and what is refused or fails without writing a page.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/qeltoctl_runner.h"
#include "reports/page_tags.h"
#include "support/sim_process.h"
#include "support/test_env.h"

namespace qelto::test {
namespace {

using nlohmann::json;

// Pump 1 calibrated (250 ml/min since 14/03/24) with 1 x 65536 + 134 x 256 + 160 = 100000 ml in
// 77 cycles; pump 2 timed, 2 h 30 min 15 s in 5 cycles. Program 2 ran pump 2 for 1 h 2 min 3 s.
json unitWithUsage(const std::string& version) {
    return json{{"version", version},
                {"config", {{"customerLines", {"Hotel Sud", "Laundry 2"}}, {"unitType", 7}}},
                {"programNames", {"Towels", "Sheets"}},
                {"comments", "Checked on site."},
                {"dumpText", "FLASH <ok> & RAM ok\r\nEND\r\n"},
                {"usage",
                 {{"pumpCount", 2},
                  {"totalCycles", 1234},
                  {"pumps",
                   {{{"hours", 1},
                     {"minutes", 134},
                     {"seconds", 160},
                     {"flow", 250},
                     {"calibrated", {14, 3, 24}},
                     {"cycles", 77}},
                    {{"hours", 2}, {"minutes", 30}, {"seconds", 15}, {"cycles", 5}}}},
                  {"programs",
                   {{{"used", false}},
                    {{"used", true}, {"time", {{0, 0, 0}, {1, 2, 3}}}, {"cycles", {4, 6}}}}}}}};
}

// Read by pattern, the way an outside checker would, not by the program's own collector.
std::map<std::string, std::string> cellTags(const std::string& page) {
    return reports::test::readTags(page).cells;
}

class LegacyReports : public ::testing::Test {
  protected:
    std::unique_ptr<SimProcess> start(const std::string& kind, const json& memory) {
        const auto state = testDir() / "unit.json";
        writeFile(state, memory.dump());
        return std::make_unique<SimProcess>(
            testDir(), QELTO_UNITSIM_PATH,
            std::vector<std::string>{"--kind", kind, "--state", state.string()});
    }

    static json dumpOf(SimProcess& sim) {
        sim.stop();
        return json::parse(readFile(sim.dumpFile()));
    }

    std::filesystem::path page = testDir() / "report.html";
};

TEST_F(LegacyReports, TheUsagePageCarriesTheUnitsTotalsProgramsAndIdentityInItsCells) {
    auto sim = start("legacy-laundry", unitWithUsage("1.1.0"));
    const auto book = testDir() / "report.xlsx";
    const ProcessResult r = runQeltoctl({"legacy", "usage", "--port", sim->portPath(), "--out",
                                         page.string(), "--xlsx", book.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string html = readFile(page);
    const auto cells = cellTags(html);

    EXPECT_EQ(cells.at("A3"), "0") << "a usage page";
    EXPECT_EQ(cells.at("A8"), "2") << "drawn from a unit";
    EXPECT_EQ(cells.at("A5"), "Hotel Sud");
    EXPECT_EQ(cells.at("A7"), "1.10");
    EXPECT_EQ(cells.at("A100"), "Checked on site.");
    EXPECT_NE(html.find(" 01234"), std::string::npos) << "the unit's total cycles";
    // All programs (column X), pump 1 (rows 1-6): no time parts, the count, the volume.
    EXPECT_EQ(cells.at("X1"), "0");
    EXPECT_EQ(cells.at("X4"), "77");
    EXPECT_EQ(cells.at("X5"), "100000");
    // Pump 2 (rows 7-12): hours, minutes, seconds, the count, no volume.
    EXPECT_EQ(cells.at("X7"), "2");
    EXPECT_EQ(cells.at("X8"), "30");
    EXPECT_EQ(cells.at("X9"), "15");
    EXPECT_EQ(cells.at("X10"), "5");
    EXPECT_EQ(cells.at("X11"), "0");
    // Pump 1's calibration: flow, day, month, year.
    EXPECT_EQ(cells.at("B14"), "250");
    EXPECT_EQ(cells.at("B15"), "14");
    EXPECT_EQ(cells.at("B16"), "3");
    EXPECT_EQ(cells.at("B17"), "24");
    // Program 2 (column E): its run time and counts per pump, and its name.
    EXPECT_EQ(cells.at("E4"), "4");
    EXPECT_EQ(cells.at("E7"), "1");
    EXPECT_EQ(cells.at("E8"), "2");
    EXPECT_EQ(cells.at("E9"), "3");
    EXPECT_EQ(cells.at("E10"), "6");
    EXPECT_EQ(cells.at("B81"), "Sheets");
    EXPECT_TRUE(std::filesystem::exists(book));
}

TEST_F(LegacyReports, AUsageReadThatGetsNoAnswerWritesNoPage) {
    // A dishwash unit does not know the laundry usage command.
    auto sim = start("legacy-dishwash", json{{"version", "1.1.0"}});
    const ProcessResult r =
        runQeltoctl({"legacy", "usage", "--port", sim->portPath(), "--out", page.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("did not answer. Check the cable"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(page));
}

TEST_F(LegacyReports, TheDumpPageHoldsTheUnitsLinesEscaped) {
    auto sim = start("legacy-laundry", unitWithUsage("1.0.9"));
    const ProcessResult r =
        runQeltoctl({"legacy", "dump", "--port", sim->portPath(), "--out", page.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string html = readFile(page);
    EXPECT_NE(html.find("FLASH &lt;ok&gt; &amp; RAM ok\nEND\n"), std::string::npos) << html;
    EXPECT_EQ(html.find("<ok>"), std::string::npos);
    EXPECT_EQ(html.find('\r'), std::string::npos);
}

TEST_F(LegacyReports, ADumpWithoutAPortNamesItAndWritesNoPage) {
    const auto port = (testDir() / "ttyNone").string();
    const ProcessResult r = runQeltoctl({"legacy", "dump", "--port", port, "--out", page.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("ttyNone"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(page));
}

TEST_F(LegacyReports, TheSpareByteLandsInAUnitOfSoftware110) {
    auto sim = start("legacy-laundry", unitWithUsage("1.1.0"));
    ProcessResult r = runQeltoctl({"legacy", "spare-byte", "--port", sim->portPath()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = runQeltoctl({"legacy", "spare-byte", "--port", sim->portPath(), "--value", "200"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(dumpOf(*sim).at("spareByte"), 200);
}

TEST_F(LegacyReports, AUnitOfSoftware109HasNoSpareByte) {
    auto sim = start("legacy-laundry", unitWithUsage("1.0.9"));
    const ProcessResult r =
        runQeltoctl({"legacy", "spare-byte", "--port", sim->portPath(), "--value", "5"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("software 1.09"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("no spare laundry byte"), std::string::npos) << r.err;
    EXPECT_EQ(dumpOf(*sim).at("spareByte"), 0);
}

}  // namespace
}  // namespace qelto::test
