// qeltoctl read, write, verify and clock against qelto-unitsim on a pseudo-terminal: what lands
// in the document file and on the unit, what the engineer is told, and the exit status scripts
// rely on.
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
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/document_writer.h"
#include "cli/qeltoctl_runner.h"
#include "protocol/packet.h"
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

    ProcessResult run(std::vector<std::string> args, const std::string& pin = "1234") const {
        const auto l = link(pin);
        args.insert(args.end(), l.begin(), l.end());
        return runQeltoctl(args);
    }

    int polled(int command) const {
        return static_cast<int>(std::ranges::count(sim->pollCommands(), command));
    }

    json shownConfig(const std::filesystem::path& file) const {
        const ShowResult shown = showDocument(file);
        EXPECT_EQ(shown.run.exitCode, 0) << shown.run.err;
        return shown.json.is_discarded() ? json{} : shown.json["config"];
    }

    std::unique_ptr<SimProcess> sim;
};

std::filesystem::path saveDocument(const doc::Document& document, const std::string& name) {
    const auto path = testDir() / name;
    writeFile(path, doc::writeDocument(document, 9));
    return path;
}

TEST_F(UnitCommands, ReadSavesWhatTheUnitHoldsOrOnlyWhatWasAskedIntoABaseAndLocksIt) {
    startUnit(unitMemory());
    const auto out = testDir() / "read.qlf";
    const ProcessResult r = run({"read", "--out", out.string()});
    EXPECT_TRUE(exited(r, 0, {"The unit has been read into the document."}));
    EXPECT_EQ(r.out, "");
    // Which fields a read fills is the comms read test's; here they reach the saved file.
    json config = shownConfig(out);
    EXPECT_EQ(config["progName"][0], "Towels");
    EXPECT_EQ(config["comments"], "Checked by the engineer on site.");
    EXPECT_EQ(sim->pollCommands().back(), protocol::CMD_LOCK);

    // --only into a --base document keeps the rest of it, and asks the unit for nothing else.
    doc::Document base = doc::resetDocument();
    base.config.unitDescription = doc::fixedText<17>("mine");
    base.config.progName[0] = "Old name";
    const auto basePath = saveDocument(base, "base.qlf");
    const auto merged = testDir() / "merged.qlf";
    const int descriptionsAsked = polled(protocol::CMD_GET_UNIT_DESC);
    ASSERT_TRUE(exited(run({"read", "--only", "prog-names", "--base", basePath.string(), "--out",
                            merged.string()}),
                       0));
    config = shownConfig(merged);
    EXPECT_EQ(config["progName"][0], "Towels");
    EXPECT_EQ(config["unitDescription"], "mine");
    EXPECT_EQ(config["customerName1"], "");
    EXPECT_EQ(polled(protocol::CMD_GET_UNIT_DESC), descriptionsAsked);
}

TEST_F(UnitCommands, AReadFromAUnitThatFallsSilentStopsAtOnceSaysWhereAndLeavesTheFileAlone) {
    // Poll, unlock and the driver's second unlock are answered; the rest is not.
    startUnit(unitMemory(), {"--silent-after", "3"});
    const auto out = testDir() / "earlier.qlf";
    writeFile(out, std::string("an earlier file"));
    EXPECT_TRUE(exited(run({"read", "--reply-timeout", "50", "--out", out.string()}), 1,
                       {"nothing was saved", "stopped answering while reading the unit clock",
                        "asking again (9 of 9)"}));
    EXPECT_EQ(readFile(out), "an earlier file");
    EXPECT_FALSE(std::filesystem::exists(testDir() / "earlier.qlf.tmp"));
    // One request waits out its attempts, the lock gets one more: not every step of the read.
    const auto requests = sim->requests();
    EXPECT_EQ(std::ranges::count_if(
                  requests, [](const json& r) { return r.value("outcome", "") == "silent"; }),
              9 + 1);
    EXPECT_EQ(sim->pollCommands().back(), protocol::CMD_LOCK);
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
        std::vector<std::string> args{
            QELTOCTL_PATH,     "read", "--only", "description,prog-names,comments",
            "--reply-timeout", "300",  "--out",  out.string()};
        const auto l = link();
        args.insert(args.end(), l.begin(), l.end());
        StartedProcess qeltoctl(args);
        const auto start = steady_clock::now();
        if (signal == SIGPIPE) {
            // Whoever read the output has gone; the next progress line meets a closed pipe.
            EXPECT_TRUE(qeltoctl.waitForErr("Unit 123456789")) << "the unit was never unlocked";
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

TEST_F(UnitCommands, AWrittenDocumentVerifiesAndADifferenceExitsOneNamingIt) {
    startUnit(json::object());
    doc::Document written = doc::resetDocument();
    written.config.progName[0] = "Towels";
    written.config.pumpEnabled[0][0][0] = 1;
    written.config.programs[0][0][0].runTime = {1, 30, 0};
    const auto file = saveDocument(written, "written.qlf");

    EXPECT_TRUE(exited(run({"write", file.string(), "--verify"}), 0, {"yes (--verify)"}));
    const ProcessResult same = run({"verify", file.string()});
    EXPECT_TRUE(exited(same, 0));
    EXPECT_EQ(same.out, "");

    doc::Document longer = written;
    longer.config.programs[0][0][0].runTime = {2, 0, 0};
    const ProcessResult differs = run({"verify", saveDocument(longer, "longer.qlf").string()});
    EXPECT_EQ(differs.exitCode, 1);
    EXPECT_NE(differs.out.find("program 1, trigger 1, pump 1:"), std::string::npos) << differs.out;
    EXPECT_NE(differs.out.find("2:00"), std::string::npos) << differs.out;
}

TEST_F(UnitCommands, ReadThenWriteLeavesTheSerialNumberAndTheFileRemembersTheUnit) {
    startUnit(unitMemory());
    const auto file = testDir() / "read.qlf";
    ASSERT_EQ(run({"read", "--out", file.string()}).exitCode, 0);
    const ProcessResult shown = runQeltoctl({"show", file.string()});
    EXPECT_NE(shown.out.find("serial number 123456789, software V1.30"), std::string::npos)
        << shown.out;
    EXPECT_TRUE(exited(run({"write", file.string()}), 0,
                       {"note: the unit keeps its serial number 123456789\n"}));
    EXPECT_EQ(sim->stopAndDump()["serial"], 123456789);
}

TEST_F(UnitCommands, ADocumentOfAnotherUnitTypeIsWrittenOnlyWithChangeUnitType) {
    startUnit(unitMemory());
    doc::Document l10 = doc::resetDocument();
    l10.config.unitType = 9;
    l10.config.pumpCalibration[1] = 120;  // calibrated where the unit is
    const auto file = saveDocument(l10, "l10.qlf");

    EXPECT_TRUE(exited(
        run({"write", file.string()}), 1,
        {"an L10 (10 pumps)", "an L4 (4 pumps)", "--change-unit-type", "nothing was written"}));
    EXPECT_TRUE(std::ranges::all_of(
        sim->requests(), [](const json& r) { return r.at("id") == protocol::PKT_POLL; }));
    EXPECT_EQ(sim->pollCommands().back(), protocol::CMD_LOCK);

    EXPECT_TRUE(
        exited(run({"write", file.string(), "--change-unit-type"}), 0, {"makes the unit an L10"}));
    EXPECT_EQ(sim->stopAndDump()["unitType"], 9);
}

// Exit 3, never 1: a unit that could not be read, or a document that could not be, was not found
// to differ.
TEST_F(UnitCommands, AVerifyThatCouldNotCompareSaysSoAndExitsThree) {
    startUnit(unitMemory(), {"--silent-after", "3"});
    const auto file = saveDocument(doc::resetDocument(), "doc.qlf");
    const ProcessResult silent = run({"verify", file.string(), "--reply-timeout", "50"});
    EXPECT_TRUE(exited(silent, 3, {"could not be compared"}));
    EXPECT_EQ(silent.out, "");
    EXPECT_EQ(silent.err.find("does not match"), std::string::npos) << silent.err;

    EXPECT_TRUE(exited(run({"verify", (testDir() / "missing.qlf").string()}), 3));
    EXPECT_TRUE(exited(runQeltoctl({"verify", file.string(), "--port",
                                    (testDir() / "no-tty").string(), "--pin", "1"}),
                       3));
}

TEST_F(UnitCommands, ClockGetPrintsTheUnitTimeAndSetTakesThePcTime) {
    startUnit(unitMemory());
    const auto logDir = testDir() / "logs";
    std::filesystem::create_directories(logDir);
    std::filesystem::create_directories(configHome() / "Halvercott");
    writeFile(configHome() / "Halvercott" / "Qelto.conf",
              "[Settings]\nLogDirectory=" + logDir.string() + "\n");

    // The PIN as typed at the prompt: decimal, a leading zero and all (not octal 668).
    const ProcessResult before = run({"clock", "get", "--comms-log"}, "01234");
    ASSERT_TRUE(exited(before, 0));
    EXPECT_EQ(before.out.substr(0, 16), "2019-03-15 09:41") << before.out;
    EXPECT_NE(readFile(logDir / "CommsLog.csv").find("PKT_POLL,CMD_UNLOCK"), std::string::npos);

    ASSERT_TRUE(exited(run({"clock", "set"}), 0));
    const ProcessResult after = run({"clock", "get"});
    ASSERT_TRUE(exited(after, 0));
    std::tm shown{};
    std::istringstream(after.out) >> std::get_time(&shown, "%Y-%m-%d %H:%M:%S");
    shown.tm_isdst = -1;
    EXPECT_LT(std::abs(std::difftime(std::mktime(&shown), std::time(nullptr))), 120.0) << after.out;

    // A time that never reached standard output was not printed.
    auto args = link();
    args.insert(args.begin(),
                {"/bin/sh", "-c", "exec \"$0\" \"$@\" >/dev/full", QELTOCTL_PATH, "clock", "get"});
    EXPECT_TRUE(exited(runProcess(args), 1, {"standard output"}));
}

TEST_F(UnitCommands, ConnectionFailuresExitOneWithTheReason) {
    startUnit(unitMemory(), {"--no-clock"});
    const ProcessResult noClock = run({"clock", "get"});
    EXPECT_TRUE(exited(noClock, 1, {"no clock"}));
    EXPECT_EQ(noClock.out, "");

    startUnit(unitMemory(), {"--pin", "4321"});
    EXPECT_TRUE(exited(run({"clock", "set"}), 1, {"refused the PIN"}));
    EXPECT_EQ(polled(protocol::CMD_UNLOCK), 1);

    // A unit that refuses the poll before the unlock is there all the same. The scan of --unit
    // sends three requests, so the fourth, that poll, is the one refused.
    startUnit(unitMemory(), {"--nak-every", "4"});
    const ProcessResult nak = run({"clock", "get", "--unit", "0"});
    EXPECT_TRUE(exited(nak, 0));
    EXPECT_EQ(nak.out.substr(0, 16), "2019-03-15 09:41") << nak.out;

    const auto missing = testDir() / "no-such-tty";
    EXPECT_TRUE(exited(runQeltoctl({"clock", "get", "--port", missing.string(), "--pin", "1234"}),
                       1, {"cannot open " + missing.string()}));
}

TEST(UnitCommandUsage, ErrorsExitTwoAndSayWhatIsWrong) {
    const auto file = saveDocument(doc::resetDocument(), "doc.qlf").string();
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> errHas;
    } cases[] = {
        {{"verify", file, "--port", "/dev/null", "--pin", "1", "--only", "names"},
         {"'names'", "pump-names, prog-names, pump-cal"}},
        {{"verify", file, "--pin", "1"}, {"--usb"}},
        {{"clock", "get", "--port", "/dev/null", "--usb", "--pin", "1"}, {}},
        {{"clock", "get", "--port", "/dev/null"}, {"--pin"}},
    };
    for (const auto& c : cases) {
        const ProcessResult r = runQeltoctl(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args[0] << ": " << r.err;
        for (const std::string& text : c.errHas) {
            EXPECT_NE(r.err.find(text), std::string::npos) << r.err;
        }
    }
}

}  // namespace
}  // namespace qelto::test
