// qeltoctl legacy against qelto-unitsim's older units on a pseudo-terminal: what a read saves,
// what a write leaves in another unit, the dishwash read and verify, the usage and dump pages, the
// spare byte, and the exit statuses, with a stop signal that cancels a read at once.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "cli/qeltoctl_runner.h"
#include "reports/page_tags.h"
#include "support/sim_process.h"
#include "support/test_env.h"
#include "support/unit_memory.h"

namespace qelto::test {
namespace {

using nlohmann::json;

// Pump 1 calibrated (250 ml/min since 14/03/24) with 1 x 65536 + 134 x 256 + 160 = 100000 ml in
// 77 cycles; pump 2 timed, 2 h 30 min 15 s in 5 cycles. Program 2 ran pump 2 for 1 h 2 min 3 s.
json withUsage(json unit) {
    unit["usage"] = {{"pumpCount", 2},
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
                       {{"used", true}, {"time", {{0, 0, 0}, {1, 2, 3}}}, {"cycles", {4, 6}}}}}};
    return unit;
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
                                      std::vector<std::string> options = {}) {
        options.insert(options.begin(), {"--kind", kind});
        return SimProcess::withMemory(testDir(), QELTO_UNITSIM_PATH, memory, options);
    }

    static int legacyByte(const json& shown, std::size_t offset) {
        const std::string hex = shown.at("config").at("legacyConfig").get<std::string>();
        return std::stoi(hex.substr(2 * offset, 2), nullptr, 16);
    }

    std::filesystem::path page = testDir() / "report.html";
};

TEST_F(LegacyCommands, ReadSavesTheImageNamesAndCommentsAndWriteCarriesThemIntoAnotherUnit) {
    auto source = start("legacy-laundry", legacyLaundryMemory("1.1.0"));
    const auto doc = testDir() / "unit.qlf";
    const std::vector<std::string> read{"legacy", "read",       "--port",    source->portPath(),
                                        "--out",  doc.string(), "--password"};
    auto args = read;
    args.push_back("1234");
    EXPECT_TRUE(exited(runQeltoctl(args), 1, {"refused the password"}));
    EXPECT_FALSE(std::filesystem::exists(doc));
    args.back() = "4321";
    ASSERT_TRUE(exited(runQeltoctl(args), 0));
    const ShowResult shown = showDocument(doc);
    ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
    EXPECT_EQ(legacyByte(shown.json, 44), 90);  // pump speed
    EXPECT_EQ(legacyByte(shown.json, 47), 2);   // reset delay 2:05
    EXPECT_EQ(legacyByte(shown.json, 48), 5);
    EXPECT_EQ(legacyByte(shown.json, 56), 1);  // default run 1:15
    EXPECT_EQ(legacyByte(shown.json, 57), 15);
    EXPECT_EQ(legacyByte(shown.json, 65), 1111 & 0xFF);
    EXPECT_EQ(shown.json["config"]["progName"][1], "Sheets");
    EXPECT_EQ(shown.json["config"]["comments"], "Checked on site.");
    const json sourceConfig = source->stopAndDump().at("config");

    // A unit of software 1.10 takes the names and comments too.
    auto target = start("legacy-laundry", json{{"version", "1.1.0"}, {"password", 77}});
    ASSERT_TRUE(exited(runQeltoctl({"legacy", "write", doc.string(), "--port", target->portPath(),
                                    "--password", "77"}),
                       0));
    ASSERT_TRUE(exited(
        runQeltoctl({"legacy", "third", "--port", target->portPath(), "--password", "77"}), 0));
    const json written = target->stopAndDump();
    EXPECT_EQ(written.at("config"), sourceConfig);
    EXPECT_EQ(written.at("programNames")[1], "Sheets");
    EXPECT_EQ(written.at("comments"), "Checked on site.");
    EXPECT_EQ(written.at("thirdCommandCount"), 1);
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
    auto other = start("legacy-dishwash", changed);
    r = runQeltoctl({"legacy", "dishwash", "verify", doc.string(), "--port", other->portPath()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "pump 2 speed: unit 75, document 70\n");
}

TEST_F(LegacyCommands, TheUsagePageCarriesTheUnitsTotalsProgramsAndIdentityInItsCells) {
    auto sim = start("legacy-laundry", withUsage(legacyLaundryMemory("1.1.0")));
    const auto book = testDir() / "report.xlsx";
    const ProcessResult r = runQeltoctl({"legacy", "usage", "--port", sim->portPath(), "--out",
                                         page.string(), "--xlsx", book.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string html = readFile(page);
    // A usage page (A3) drawn from a unit (A8) with its identity. All programs (column X), pump 1
    // (rows 1-6): no time parts, the count, the volume; pump 2 (rows 7-12): hours, minutes,
    // seconds, the count, no volume. Pump 1's calibration (B14-B17): flow, day, month, year.
    // Program 2 (column E): its run time and counts per pump, and its name.
    EXPECT_EQ(reports::test::cellList(
                  reports::test::readTags(html),
                  {"A3",  "A8",  "A5",  "A7",  "A100", "X1", "X4", "X5", "X7", "X8",  "X9", "X10",
                   "X11", "B14", "B15", "B16", "B17",  "E4", "E7", "E8", "E9", "E10", "B81"}),
              "A3=0 A8=2 A5=Hotel Sud A7=1.10 A100=Checked on site. X1=0 X4=77 X5=100000 X7=2 "
              "X8=30 X9=15 X10=5 X11=0 B14=250 B15=14 B16=3 B17=24 E4=4 E7=1 E8=2 E9=3 E10=6 "
              "B81=Sheets");
    EXPECT_NE(html.find(" 01234"), std::string::npos) << "the unit's total cycles";
    EXPECT_TRUE(std::filesystem::exists(book));
}

// The dump page holds the unit's lines escaped; a read that gets no answer, or no port, writes
// no page.
TEST_F(LegacyCommands, TheDumpPageHoldsTheUnitsLinesAndAFailedReadWritesNoPage) {
    auto sim = start("legacy-laundry", legacyLaundryMemory("1.0.9"));
    ASSERT_TRUE(exited(
        runQeltoctl({"legacy", "dump", "--port", sim->portPath(), "--out", page.string()}), 0));
    const std::string html = readFile(page);
    EXPECT_NE(html.find("FLASH &lt;ok&gt; &amp; RAM ok\nEND\n"), std::string::npos) << html;
    EXPECT_EQ(html.find("<ok>"), std::string::npos);
    EXPECT_EQ(html.find('\r'), std::string::npos);
    std::filesystem::remove(page);

    // A dishwash unit does not know the laundry usage command.
    auto dishwash = start("legacy-dishwash", json{{"version", "1.1.0"}});
    EXPECT_TRUE(exited(
        runQeltoctl({"legacy", "usage", "--port", dishwash->portPath(), "--out", page.string()}), 1,
        {"did not answer. Check the cable"}));
    const auto port = (testDir() / "ttyNone").string();
    EXPECT_TRUE(exited(runQeltoctl({"legacy", "dump", "--port", port, "--out", page.string()}), 1,
                       {"ttyNone"}));
    EXPECT_FALSE(std::filesystem::exists(page));
}

TEST_F(LegacyCommands, TheSpareByteLandsInAUnitOfSoftware110AndA109HasNone) {
    auto sim = start("legacy-laundry", legacyLaundryMemory("1.1.0"));
    ASSERT_TRUE(exited(runQeltoctl({"legacy", "spare-byte", "--port", sim->portPath()}), 0));
    ASSERT_TRUE(exited(
        runQeltoctl({"legacy", "spare-byte", "--port", sim->portPath(), "--value", "200"}), 0));
    EXPECT_EQ(sim->stopAndDump().at("spareByte"), 200);

    auto older = start("legacy-laundry", legacyLaundryMemory("1.0.9"));
    EXPECT_TRUE(
        exited(runQeltoctl({"legacy", "spare-byte", "--port", older->portPath(), "--value", "5"}),
               1, {"software 1.09", "no spare laundry byte"}));
    EXPECT_EQ(older->stopAndDump().at("spareByte"), 0);
}

// Ctrl-C or `kill` in the middle of a slow read cancels it at once: 128 + the signal, nothing
// saved.
TEST_F(LegacyCommands, AStopSignalCancelsAReadAtOnce) {
    using namespace std::chrono;
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        auto paced = start("legacy-laundry", legacyLaundryMemory("1.1.0"), {"--pace"});
        const auto out = testDir() / "cancelled.qlf";
        StartedProcess qeltoctl({QELTOCTL_PATH, "legacy", "read", "--port", paced->portPath(),
                                 "--password", "4321", "--out", out.string()});
        std::this_thread::sleep_for(milliseconds(800));  // past the password, in the names
        const auto sent = steady_clock::now();
        ::kill(qeltoctl.pid(), signal);
        EXPECT_EQ(qeltoctl.wait(), 128 + signal) << qeltoctl.err();
        EXPECT_LT(steady_clock::now() - sent, milliseconds(500));
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

}  // namespace
}  // namespace qelto::test
