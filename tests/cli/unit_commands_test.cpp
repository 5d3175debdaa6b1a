// qeltoctl against qelto-unitsim on a pseudo-terminal: read, write, verify and clock as a whole
// job checked against the unit's memory, the scan, the report pages, pump calibration and runs;
// what a failure leaves behind, the exit statuses scripts rely on, and the stop signals that must
// leave the unit locked.
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/document_writer.h"
#include "cli/qeltoctl_runner.h"
#include "protocol/packet.h"
#include "reports/page_tags.h"
#include "support/sim_process.h"
#include "support/test_env.h"
#include "support/unit_memory.h"

namespace qelto::test {
namespace {

using nlohmann::json;

class UnitCommands : public ::testing::Test {
  protected:
    void startUnit(const json& memory, const std::vector<std::string>& options = {}) {
        sim.reset();
        sim = SimProcess::withMemory(testDir(), QELTO_UNITSIM_PATH, memory, options);
    }

    std::vector<std::string> link(const std::string& pin = "1234") const {
        return {"--port", sim->portPath(), "--pin", pin};
    }

    // qeltoctl with the arguments and the link, to start and stop by hand.
    std::vector<std::string> command(std::vector<std::string> args) const {
        args.insert(args.begin(), QELTOCTL_PATH);
        const auto l = link();
        args.insert(args.end(), l.begin(), l.end());
        return args;
    }

    ProcessResult run(std::vector<std::string> args, const std::string& pin = "1234") const {
        const auto l = link(pin);
        args.insert(args.end(), l.begin(), l.end());
        return runQeltoctl(args);
    }

    int polled(int command) const {
        return static_cast<int>(std::ranges::count(sim->pollCommands(), command));
    }

    std::unique_ptr<SimProcess> sim;
};

using doc::saveDocument;

// The groups of the unit's memory that differ between two dumps; its clock runs on by itself.
std::set<std::string> changedGroups(json before, json after) {
    std::set<std::string> groups;
    for (json* memory : {&before, &after}) {
        memory->erase("clock");
        memory->erase("locked");
    }
    for (const json& change : json::diff(before, after)) {
        const std::string path = change.at("path");
        groups.insert(path.substr(1, path.find('/', 1) - 1));
    }
    return groups;
}

// Pump 2 is calibrated (120 ml/min), pump 1 is timed. Program 1 doses both.
json unitWithUsage() {
    json memory = unitMemoryWithCounters();
    memory["programNames"] = {"Towels <b>", "Sheets"};
    memory["customerLines"] = {"Hotel \"Sud\"", "Laundry 2"};
    return memory;
}

// Read by pattern, the way an outside checker would, not by the program's own collector.
std::map<std::string, std::string> cellTags(const std::string& page) {
    return reports::test::readTags(page).cells;
}

TEST_F(UnitCommands, ReadVerifyAndWriteChangeTheUnitOnlyWhereAsked) {
    startUnit(unitMemory());
    const json atStart = sim->dumpNow();
    const std::string read = (testDir() / "read.qlf").string();
    const ProcessResult r = run({"read", "--out", read});
    EXPECT_TRUE(exited(r, 0, {"The unit has been read into the document."}));
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(sim->pollCommands().back(), protocol::CMD_LOCK);
    const ShowResult shown = showDocument(read);
    EXPECT_EQ(shown.json["config"]["progName"][0], "Towels");
    EXPECT_EQ(shown.json["config"]["comments"], "Checked by the engineer on site.");
    EXPECT_NE(runQeltoctl({"show", read}).out.find("serial number 123456789, software V1.30"),
              std::string::npos);

    // --only writes the groups it names (the program data carries the global settings), and the
    // automatic flush every write sends.
    doc::Document edit = doc::resetDocument();
    edit.config.pumpCalibration[1] = 120;  // as the unit has it
    edit.config.FSVersion = 3;             // the unit's own, as a read would have brought it
    edit.config.unitDescription = doc::fixedText<17>("Line 9");
    edit.config.progName[0] = "Not sent";
    edit.config.pumpEnabled[0][0][0] = 1;
    edit.config.programs[0][0][0].runTime = {1, 30, 0};
    EXPECT_TRUE(exited(run({"write", saveDocument(edit, "edit.qlf"), "--only",
                            "description,pump-data", "--verify"}),
                       0, {"yes (--verify)"}));
    // The calibration is dated by the write; its volumes stay.
    const json written = sim->dumpNow();
    EXPECT_EQ(
        changedGroups(atStart, written),
        (std::set<std::string>{"autoFlush", "calibration", "description", "globals", "programs"}));
    for (std::size_t pump = 0; pump < 10; ++pump) {
        EXPECT_EQ(written["calibration"][pump]["volume"], atStart["calibration"][pump]["volume"]);
    }
    EXPECT_EQ(written["description"], "Line 9");
    EXPECT_EQ(written["programNames"][0], "Towels");

    edit.config.programs[0][0][0].runTime = {2, 0, 0};
    const ProcessResult differs = run({"verify", saveDocument(edit, "longer.qlf")});
    EXPECT_EQ(differs.exitCode, 1);
    EXPECT_NE(differs.out.find("program 1, trigger 1, pump 1:"), std::string::npos) << differs.out;

    // --only into a --base document keeps the rest of it, and asks the unit for nothing else.
    doc::Document base = doc::resetDocument();
    base.config.unitDescription = doc::fixedText<17>("mine");
    const auto merged = testDir() / "merged.qlf";
    const int descriptionsAsked = polled(protocol::CMD_GET_UNIT_DESC);
    ASSERT_TRUE(exited(run({"read", "--only", "prog-names", "--base",
                            saveDocument(base, "base.qlf"), "--out", merged.string()}),
                       0));
    const json config = showDocument(merged).json["config"];
    EXPECT_EQ(config["progName"][0], "Towels");
    EXPECT_EQ(config["unitDescription"], "mine");
    EXPECT_EQ(polled(protocol::CMD_GET_UNIT_DESC), descriptionsAsked);
}

TEST_F(UnitCommands, ADocumentOfAnotherUnitTypeIsWrittenOnlyWithChangeUnitType) {
    startUnit(unitMemory());
    doc::Document l10 = doc::resetDocument();
    l10.config.unitType = 9;
    l10.config.pumpCalibration[1] = 120;  // calibrated where the unit is
    const auto file = saveDocument(l10, "l10.qlf");
    EXPECT_TRUE(exited(
        run({"write", file}), 1,
        {"an L10 (10 pumps)", "an L4 (4 pumps)", "--change-unit-type", "nothing was written"}));
    EXPECT_TRUE(std::ranges::all_of(
        sim->requests(), [](const json& r) { return r.at("id") == protocol::PKT_POLL; }));
    EXPECT_EQ(sim->pollCommands().back(), protocol::CMD_LOCK);
    EXPECT_TRUE(exited(run({"write", file, "--change-unit-type"}), 0, {"makes the unit an L10"}));
    EXPECT_EQ(sim->stopAndDump()["unitType"], 9);
}

// A unit that falls silent: the read stops at once, says where, and leaves the earlier file alone;
// a verify says it could not compare (3), never that the two differ (1).
TEST_F(UnitCommands, FailuresExitOneOrThreeWithTheReasonAndLeaveFilesAlone) {
    // Poll, unlock and the driver's second unlock are answered; the rest is not.
    startUnit(unitMemory(), {"--silent-after", "3"});
    const auto out = testDir() / "earlier.qlf";
    writeFile(out, std::string("an earlier file"));
    EXPECT_TRUE(exited(run({"read", "--reply-timeout", "50", "--out", out.string()}), 1,
                       {"nothing was saved", "stopped answering while reading the unit clock",
                        "asking again (9 of 9)"}));
    EXPECT_EQ(readFile(out), "an earlier file");
    EXPECT_FALSE(std::filesystem::exists(testDir() / "earlier.qlf.tmp"));
    EXPECT_EQ(sim->pollCommands().back(), protocol::CMD_LOCK);

    startUnit(unitMemory(), {"--silent-after", "3"});
    const auto file = saveDocument(doc::resetDocument(), "doc.qlf");
    const ProcessResult silent = run({"verify", file, "--reply-timeout", "50"});
    EXPECT_TRUE(exited(silent, 3, {"could not be compared"}));
    EXPECT_EQ(silent.err.find("does not match"), std::string::npos) << silent.err;
    EXPECT_TRUE(exited(run({"verify", (testDir() / "missing.qlf").string()}), 3));

    const auto missing = testDir() / "no-such-tty";
    EXPECT_TRUE(exited(runQeltoctl({"verify", file, "--port", missing.string(), "--pin", "1"}), 3));
    EXPECT_TRUE(exited(runQeltoctl({"clock", "get", "--port", missing.string(), "--pin", "1234"}),
                       1, {"cannot open " + missing.string()}));
    startUnit(unitMemory(), {"--no-clock"});
    const ProcessResult noClock = run({"clock", "get"});
    EXPECT_TRUE(exited(noClock, 1, {"no clock"}));
    EXPECT_EQ(noClock.out, "");
    startUnit(unitMemory(), {"--pin", "4321"});
    EXPECT_TRUE(exited(run({"clock", "set"}), 1, {"refused the PIN"}));
    EXPECT_EQ(polled(protocol::CMD_UNLOCK), 1);
}

TEST_F(UnitCommands, ClockGetPrintsTheUnitTimeAndSetTakesThePcTime) {
    startUnit(unitMemory());
    // The PIN as typed at the prompt: decimal, a leading zero and all (not octal 668).
    const ProcessResult before = run({"clock", "get"}, "01234");
    ASSERT_TRUE(exited(before, 0));
    EXPECT_EQ(before.out.substr(0, 16), "2019-03-15 09:41") << before.out;
    ASSERT_TRUE(exited(run({"clock", "set"}), 0));
    const ProcessResult after = run({"clock", "get"});
    ASSERT_TRUE(exited(after, 0));
    std::tm shown{};
    std::istringstream(after.out) >> std::get_time(&shown, "%Y-%m-%d %H:%M:%S");
    shown.tm_isdst = -1;
    EXPECT_LT(std::abs(std::difftime(std::mktime(&shown), std::time(nullptr))), 120.0) << after.out;

    // A time that never reached standard output was not printed.
    auto args = command({"clock", "get"});
    args.insert(args.begin(), {"/bin/sh", "-c", "exec \"$0\" \"$@\" >/dev/full"});
    EXPECT_TRUE(exited(runProcess(args), 1, {"standard output"}));
}

// Ctrl-C, `kill`, `timeout`, a closed terminal and a closed output pipe all cancel the operation
// instead of killing qeltoctl: the unit gets nothing but the lock, and the status tells which.
TEST_F(UnitCommands, EveryStopSignalCancelsSendsOnlyTheLockAndSavesNothing) {
    using namespace std::chrono;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        SCOPED_TRACE(strsignal(signal));
        // The description request goes unanswered, so the read sits in its retries meanwhile.
        startUnit(unitMemory(), {"--silent-after", "4"});
        const auto out = testDir() / "cancelled.qlf";
        StartedProcess qeltoctl(command({"read", "--only", "description,prog-names,comments",
                                         "--reply-timeout", "300", "--out", out.string()}));
        const auto start = steady_clock::now();
        if (signal == SIGPIPE) {
            // Whoever read the output has gone; the next progress line meets a closed pipe.
            EXPECT_TRUE(qeltoctl.waitForErr("qeltoctl: unit 123456789"))
                << "the unit was never unlocked";
            qeltoctl.closeErr();
        } else {
            std::this_thread::sleep_for(milliseconds(600));
            ::kill(qeltoctl.pid(), signal);
        }
        EXPECT_EQ(qeltoctl.wait(), 128 + signal) << qeltoctl.err();
        EXPECT_LT(steady_clock::now() - start, seconds(2)) << "nine attempts would take 2.7 s";
        if (signal != SIGPIPE) {
            EXPECT_NE(qeltoctl.err().find(signal == SIGINT ? "cancelled" : "stopped by"),
                      std::string::npos);
        }
        EXPECT_FALSE(std::filesystem::exists(out));

        const auto commands = sim->pollCommands();
        const auto asked = std::ranges::find(commands, protocol::CMD_GET_UNIT_DESC);
        ASSERT_NE(asked, commands.end());
        EXPECT_TRUE(std::all_of(asked, commands.end(), [](int command) {
            return command == protocol::CMD_GET_UNIT_DESC || command == protocol::CMD_LOCK;
        })) << "after the cancel nothing but the lock may reach the unit";
        EXPECT_EQ(commands.back(), protocol::CMD_LOCK);
    }
}

TEST_F(UnitCommands, AStopWhileThePinIsTypedGivesTheTerminalItsEchoBack) {
    int master = -1;
    int slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    StartedProcess qeltoctl({QELTOCTL_PATH, "clock", "get", "--port", "/dev/null"}, slave);
    termios settings{};
    for (int i = 0; i < 500 && ::tcgetattr(slave, &settings) == 0 && (settings.c_lflag & ECHO);
         ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(settings.c_lflag & ECHO, 0u) << "the PIN prompt turns the echo off";
    ::kill(qeltoctl.pid(), SIGTERM);
    EXPECT_EQ(qeltoctl.wait(), 128 + SIGTERM);
    ASSERT_EQ(::tcgetattr(slave, &settings), 0);
    EXPECT_NE(settings.c_lflag & ECHO, 0u) << "the terminal was left mute";
    ::close(slave);
    ::close(master);
}

// A usage error exits 2, says what is wrong, and never reaches the unit.
TEST_F(UnitCommands, UsageErrorsExitTwoBeforeTheUnitIsAsked) {
    startUnit(unitMemory());
    const auto file = saveDocument(doc::resetDocument(), "doc.qlf");
    const std::string page = (testDir() / "report.html").string();
    // Each line's words, with DOC and PAGE standing for the two files.
    const auto words = [&file, &page](const std::string& line) {
        std::vector<std::string> args;
        std::istringstream in(line);
        for (std::string word; in >> word;) {
            args.push_back(word == "DOC" ? file : word == "PAGE" ? page : word);
        }
        return args;
    };
    const ProcessResult badGroup = run(words("verify DOC --only names"));
    EXPECT_TRUE(exited(badGroup, 2, {"'names'", "pump-names, prog-names, pump-cal"}));
    for (const char* line :
         {"calibration set --speed 1=20", "calibration set --flow 11=5",
          "calibration set --flow 1=70000", "calibration set", "reset memory",
          "reset counters",  // no --yes and no terminal to ask at
          "report usage --out PAGE --from 2026-11-01",
          "report usage --out PAGE --from 2026-11-31 --to 2026-12-01",
          "report usage --out PAGE --from 2026-11-05 --to 2026-11-01",
          "report usage --out PAGE --from 2026-11-01 --to 2026-11-05 --shift 06:00-14:00",
          "report usage --out PAGE --shift 06:00-14:00 --shift 14:00-22:00",
          "report usage --out PAGE --xlsx PAGE", "clock get --usb"}) {
        const ProcessResult r = run(words(line));
        EXPECT_EQ(r.exitCode, 2) << line << ": " << r.err;
    }
    EXPECT_EQ(readFile(sim->requestLog()), "") << "a usage error never reaches the unit";
    EXPECT_FALSE(std::filesystem::exists(page));
    for (const char* line :
         {"", "show", "new", "convert DOC", "diff DOC", "verify DOC --pin 1",
          "clock get --port /dev/null", "bt pair 10 --port /dev/null",
          "batch setup --job A --size 4", "legacy third --port /dev/null --password 70000",
          "calibration apply DOC --speed 1=10"}) {
        EXPECT_EQ(runQeltoctl(words(line)).exitCode, 2) << line;
    }
}

TEST_F(UnitCommands, UnitsBehindARadioDongleAreListedByChannelAndOnlyTheChosenOneIsChanged) {
    const auto unitFile = [](const std::string& name, int serial, const std::string& text) {
        const auto path = testDir() / (name + ".json");
        writeFile(path, json{{"serial", serial}, {"description", text}}.dump());
        return path.string();
    };
    // The dongle refuses channel 15, which ends its scan there and keeps the run short.
    sim = std::make_unique<SimProcess>(
        testDir(), QELTO_UNITSIM_PATH,
        std::vector<std::string>{"--rf-dongle", "--rf-unit", "3:180:" + unitFile("a", 1001, "A"),
                                 "--rf-unit", "9:40:" + unitFile("b", 1002, "B"), "--rf-unit",
                                 "21:40:" + unitFile("c", 1003, "C"), "--rf-refuse-channel", "15"});
    const ProcessResult shown = runQeltoctl({"scan", "--port", sim->portPath()});
    EXPECT_EQ(shown.out,
              "Dosing Controller - 000001001 - A : (RF Ch03 SS180)\n"
              "Dosing Controller - 000001002 - B : (RF Ch09 SS040)\n");
    EXPECT_NE(shown.err.find("Error setting RF channel 15"), std::string::npos) << shown.err;
    EXPECT_TRUE(exited(run({"read", "--unit", "3", "--out", "x.qlf"}), 1,
                       {"the scan found 2 units (0 to 1), so there is no unit 3"}));

    const auto doc = saveDocument(doc::resetDocument(), "doc.qlf");
    EXPECT_TRUE(exited(run({"write", doc, "--unit", "1", "--only", "description"}), 0));
    const json units = sim->stopAndDump();
    EXPECT_EQ(units[0]["description"], "A");
    EXPECT_EQ(units[1]["description"], "");
    EXPECT_EQ(units[2]["description"], "C");
}

TEST_F(UnitCommands, AfterPairingTheBluetoothUnitIsFoundAsAWiredOne) {
    const auto path = testDir() / "b.json";
    writeFile(path, json{{"serial", 2002}, {"description", "Ward 2"}}.dump());
    sim = std::make_unique<SimProcess>(
        testDir(), QELTO_UNITSIM_PATH,
        std::vector<std::string>{"--bt-dongle", "--bt-module", "KNW_A1:70:" + path.string(),
                                 "--bt-module", "KNW_B2:90:" + path.string()});
    EXPECT_EQ(runQeltoctl({"bt", "scan", "--port", sim->portPath()}).out,
              "0 KNW_A1  (H -070)\n1 KNW_B2  (L -090)\n");
    EXPECT_TRUE(exited(runQeltoctl({"bt", "pair", "1", "--port", sim->portPath()}), 0));
    EXPECT_EQ(runQeltoctl({"scan", "--port", sim->portPath()}).out,
              "Dosing Controller - 000002002 - Ward 2 : (RS232/BT)\n");
}

TEST_F(UnitCommands, TheUnitsOwnTotalsArriveInTheUsagePagesCellsAndItsWorkbook) {
    const auto page = testDir() / "report.html";
    startUnit(unitWithUsage());
    const auto book = testDir() / "report.xlsx";
    ASSERT_TRUE(
        exited(run({"report", "usage", "--out", page.string(), "--xlsx", book.string()}), 0));
    // A usage page (A3) drawn from a unit (A8). Program 1 (column D), pump 2 (rows 7-12): count
    // in row 6p+4, volume in row 6p+5. All programs (column X): the calibrated pump's volume, the
    // timed pump's hours, minutes and seconds. Names escaped in their tags.
    EXPECT_EQ(reports::test::cellList(
                  reports::test::readTags(readFile(page)),
                  {"A3", "A8", "D10", "D11", "X10", "X11", "X1", "X2", "X3", "X4", "B80", "A5"}),
              "A3=0 A8=2 D10=12 D11=3400 X10=40 X11=70000 X1=1 X2=2 X3=3 X4=2 "
              "B80=Towels &lt;b&gt; A5=Hotel &quot;Sud&quot;");

    // What the workbook holds is the workbook tests'; here it is written beside the page.
    EXPECT_TRUE(std::filesystem::exists(book));
}

TEST_F(UnitCommands, ASettingsPageComesFromAUnitOrFromADocumentFile) {
    const auto page = testDir() / "report.html";
    startUnit(unitWithUsage());
    ASSERT_TRUE(exited(run({"report", "settings", "--out", page.string()}), 0));
    auto cells = cellTags(readFile(page));
    EXPECT_EQ(cells.at("A8"), "2");
    EXPECT_EQ(cells.at("A10"), "123456789");  // the step rows are the page tests'

    const auto document = testDir() / "unit.qlf";
    ASSERT_TRUE(exited(run({"read", "--out", document.string()}), 0));
    ASSERT_TRUE(exited(
        runQeltoctl({"report", "settings", "--in", document.string(), "--out", page.string()}), 0));
    cells = cellTags(readFile(page));
    EXPECT_EQ(cells.at("A8"), "0") << "drawn from a document";
    EXPECT_EQ(cells.count("A10"), 0u) << "the serial number cell is a unit's only";
    EXPECT_NE(readFile(page).find(" 123456789"), std::string::npos) << "the file keeps the unit's";
}

// Outputs are checked before a unit is asked anything or a file is read: one that clashes with
// another or with the input is a usage error, one that cannot be written a failure; neither
// leaves a file changed, and a read that is not saved never says the unit was read.
TEST_F(UnitCommands, OutputsAreCheckedBeforeAnythingIsTouched) {
    const auto page = testDir() / "report.html";
    startUnit(unitWithUsage());
    const auto document = testDir() / "unit.qlf";
    ASSERT_TRUE(exited(run({"read", "--out", document.string()}), 0, {"has been read"}));
    const std::string saved = readFile(document);
    writeFile(sim->requestLog(), "");
    const auto folder = testDir() / "folder.qlf";
    std::filesystem::create_directory(folder);
    const std::string book = (testDir() / "report.xlsx").string();
    const std::string linkToDocument = (testDir() / "link.html").string();
    std::filesystem::create_symlink(document, linkToDocument);

    struct Case {
        std::vector<std::string> args;
        int exitCode;
        bool onUnit;
    };
    const std::string in = document.string();
    for (const Case& c : {
             Case{{"report", "settings", "--in", in, "--out", in}, 2, false},
             Case{{"report", "settings", "--in", in, "--out", linkToDocument}, 2, false},
             Case{{"report", "settings", "--in", in, "--out", page.string(), "--xlsx", in},
                  2,
                  false},
             Case{{"report", "usage", "--out", folder.string()}, 1, true},
             Case{{"read", "--out", folder.string()}, 1, true},
             Case{{"read", "--out", (testDir() / "none" / "x.qlf").string()}, 1, true},
         }) {
        const ProcessResult r = c.onUnit ? run(c.args) : runQeltoctl(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << " " << c.args[2] << ": " << r.err;
        EXPECT_EQ(r.err.find("has been read"), std::string::npos) << r.err;
    }
    EXPECT_EQ(readFile(sim->requestLog()), "") << "the unit was never asked";
    EXPECT_EQ(readFile(document), saved);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_FALSE(std::filesystem::exists(page));
    EXPECT_FALSE(std::filesystem::exists(book));

    // A read that fails (the PIN is refused) writes no page.
    EXPECT_TRUE(exited(run({"report", "usage", "--out", page.string()}, "1"), 1));
    EXPECT_FALSE(std::filesystem::exists(page));
}

TEST_F(UnitCommands, SetChangesOnlyTheNamedPumpsGetShowsThemAndResetsReachTheUnit) {
    startUnit(unitMemory());
    ASSERT_TRUE(exited(run({"calibration", "set", "--flow", "1=250", "--speed", "2=48"}), 0));
    const ProcessResult got = run({"calibration", "get", "--json"});
    ASSERT_TRUE(exited(got, 0));
    const json page = json::parse(got.out);
    EXPECT_EQ(page["pumps"][0]["flow"], 250);
    EXPECT_EQ(page["pumps"][1]["flow"], 120);
    EXPECT_EQ(page["pumps"][0]["speed"], 55);
    EXPECT_EQ(page["pumps"][1]["speed"], 50);

    for (const char* what : {"washes", "counters"}) {
        EXPECT_TRUE(exited(run({"reset", what, "--yes"}), 0)) << what;
    }
    EXPECT_EQ(std::ranges::count(sim->pollCommands(), protocol::CMD_RESET), 2);
    EXPECT_TRUE(exited(run({"reset", "memory", "--yes"}), 0));
    const json unit = sim->stopAndDump();
    EXPECT_EQ(unit["calibration"][1]["volume"], 0);
}

// Pumps the unit does not have are refused after reading only its pump count, and a pump the
// document's unit type lacks before a file is written.
TEST_F(UnitCommands, PumpsTheUnitOrDocumentLacksAreRefusedWithNothingChanged) {
    startUnit(unitMemory());
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"calibration", "set", "--flow", "9=100"},
             {"calibration", "set", "--flow", "1=100", "--speed", "5=50"},
             {"pump", "run", "9"}}) {
        EXPECT_TRUE(exited(run(args), 2, {": this unit has 4 pumps (1 to 4)"}));
    }
    for (const json& request : sim->requests()) {
        EXPECT_EQ(request.at("id"), protocol::PKT_POLL) << request;  // nothing was written or run
    }

    const auto in = saveDocument(doc::resetDocument(), "l4.qlf");  // an L4: four pumps
    EXPECT_TRUE(exited(runQeltoctl({"calibration", "apply", in, "--out",
                                    (testDir() / "out.qlf").string(), "--flow", "7=90"}),
                       2, {"pump 7: the document's unit type L4 has 4 pumps"}));
    EXPECT_FALSE(std::filesystem::exists(testDir() / "out.qlf"));
}

// Ctrl-C, `kill` and `timeout` alike stop the pump before the unit is locked; the exit status
// names the signal.
TEST_F(UnitCommands, ARunLeftToItsEndSendsOneCommandAndAStopSignalStopsTheNext) {
    startUnit(unitMemory());
    EXPECT_TRUE(exited(run({"pump", "run", "2", "--run-wait-ms", "300"}), 0));
    for (const int signal : {SIGINT, SIGTERM}) {
        StartedProcess pump(command({"pump", "run", "1"}));
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
    const auto in = saveDocument(written, "in.qlf");
    const auto out = testDir() / "out.qlf";
    ASSERT_TRUE(exited(
        runQeltoctl({"calibration", "apply", in, "--out", out.string(), "--flow", "2=120"}), 0));
    const ShowResult shown = showDocument(out);
    ASSERT_EQ(shown.run.exitCode, 0) << shown.run.err;
    EXPECT_EQ(shown.json["config"]["pumpCalibration"][1], 120);
    EXPECT_EQ(shown.json["config"]["programs"][0][0][1]["dose"], 150);
}

}  // namespace
}  // namespace qelto::test
