// qeltoctl read, write, verify and clock against qelto-unitsim on a pseudo-terminal: what lands
// in the document file and on the unit, what the engineer is told, and the exit status scripts
// rely on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
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

namespace qelto::test {
namespace {

using nlohmann::json;

json unitMemory() {
    return json{
        {"pin", 1234},
        {"unitType", 3},
        {"serial", 123456789},
        {"clock", "09410015032019"},
        {"globals", {{"pins", {1111, 2222, 3333}}, {"accessCode", 2}, {"resetDelay", 90}}},
        {"calibration", json::array({{{"volume", 0}}, {{"volume", 120}}})},
        {"programs",
         json::array(
             {{{"program", 0}, {"trigger", 0}, {"setting", 3}, {"pumps", {{1, 30, 1, 5, 0}}}}})},
        {"programNames", {"Towels", "Sheets"}},
        {"pumpNames", {"Detergent", "Bleach"}},
        {"customerLines", {"Hotel Sud", "Laundry 2"}},
        {"comments", {"Checked by the engineer o", "n site."}},
        {"description", "Wash line 3"},
    };
}

class UnitCommands : public ::testing::Test {
  protected:
    void startUnit(const json& memory, std::vector<std::string> options = {}) {
        const auto state = testDir() / "unit.json";
        writeFile(state, memory.dump());
        options.insert(options.begin(), {"--state", state.string()});
        sim = std::make_unique<SimProcess>(testDir(), QELTO_UNITSIM_PATH, options);
    }

    ProcessResult run(std::vector<std::string> args, const std::string& pin = "1234") const {
        args.insert(args.end(), {"--port", sim->portPath(), "--pin", pin});
        return runQeltoctl(args);
    }

    // The poll commands the unit received, in order.
    std::vector<int> pollCommands() const {
        std::istringstream lines(readFile(sim->requestLog()));
        std::vector<int> commands;
        for (std::string line; std::getline(lines, line);) {
            const auto entry = json::parse(line);
            if (entry.at("id") == protocol::PKT_POLL) {
                commands.push_back(entry.at("cmd").get<int>());
            }
        }
        return commands;
    }

    json shownConfig(const std::filesystem::path& file) const {
        const ShowResult shown = showDocument(file);
        EXPECT_EQ(shown.run.exitCode, 0) << shown.run.err;
        return shown.json.is_discarded() ? json{} : shown.json["config"];
    }

    std::unique_ptr<SimProcess> sim;
};

// qeltoctl started without waiting for it, so the test can signal it. Standard input is /dev/null
// or stdinFd; standard error goes to a file, or with pipeErr to a pipe the test reads.
struct Started {
    pid_t pid = -1;
    std::filesystem::path err = testDir() / "qeltoctl.err";
    int errReader = -1;

    explicit Started(const std::vector<std::string>& args, int stdinFd = -1, bool pipeErr = false) {
        std::vector<std::string> argv{QELTOCTL_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> raw;
        for (auto& a : argv) {
            raw.push_back(a.data());
        }
        raw.push_back(nullptr);
        int errPipe[2] = {-1, -1};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (stdinFd >= 0) {
            posix_spawn_file_actions_adddup2(&actions, stdinFd, 0);
        } else {
            posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        }
        if (pipeErr && ::pipe2(errPipe, O_CLOEXEC) == 0) {
            posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
        } else {
            posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                             0600);
        }
        if (::posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ) != 0) {
            pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        if (errPipe[1] >= 0) {
            ::close(errPipe[1]);
            errReader = errPipe[0];
        }
    }
    ~Started() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        closeErr();
    }
    // Reads standard error up to the end of its next line.
    std::string nextErrLine() const {
        std::string line;
        char c = 0;
        while (::read(errReader, &c, 1) == 1 && c != '\n') {
            line.push_back(c);
        }
        return line;
    }
    void closeErr() {
        if (errReader >= 0) {
            ::close(errReader);
            errReader = -1;
        }
    }
    int wait() {
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
};

std::filesystem::path saveDocument(const doc::Document& document, const std::string& name) {
    const auto path = testDir() / name;
    writeFile(path, doc::writeDocument(document, 9));
    return path;
}

TEST_F(UnitCommands, ReadSavesWhatTheUnitHoldsAndLocksItAgain) {
    startUnit(unitMemory());
    const auto out = testDir() / "read.qlf";
    const ProcessResult r = run({"read", "--out", out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("The unit has been read into the document."), std::string::npos) << r.err;

    const json config = shownConfig(out);
    EXPECT_EQ(config["progName"][0], "Towels");
    EXPECT_EQ(config["pumpName"][1], "Bleach");
    EXPECT_EQ(config["customerName1"], "Hotel Sud");
    EXPECT_EQ(config["unitDescription"], "Wash line 3");
    EXPECT_EQ(config["comments"], "Checked by the engineer on site.");
    EXPECT_EQ(config["pumpCalibration"][1], 120);
    EXPECT_EQ(config["accessCode"], 2);
    EXPECT_EQ(config["resetDelayTime"], json::array({1, 30, 0}));
    EXPECT_EQ(config["pumpEnabled"][0][0][0], 1);
    EXPECT_EQ(pollCommands().back(), protocol::CMD_LOCK);
}

TEST_F(UnitCommands, ReadWithOnlyIntoABaseDocumentKeepsTheRestOfIt) {
    startUnit(unitMemory());
    doc::Document base = doc::resetDocument();
    base.config.unitDescription = doc::fixedText<17>("mine");
    base.config.progName[0] = "Old name";
    const auto basePath = saveDocument(base, "base.qlf");
    const auto out = testDir() / "merged.qlf";

    const ProcessResult r =
        run({"read", "--only", "prog-names", "--base", basePath.string(), "--out", out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const json config = shownConfig(out);
    EXPECT_EQ(config["progName"][0], "Towels");
    EXPECT_EQ(config["unitDescription"], "mine");
    EXPECT_EQ(config["customerName1"], "");
    const auto commands = pollCommands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), protocol::CMD_GET_UNIT_DESC), 0);
}

TEST_F(UnitCommands, AReadFromAUnitThatFallsSilentStopsAtOnceSaysWhereAndLeavesTheFileAlone) {
    // Poll, unlock and the driver's second unlock are answered; the rest is not.
    startUnit(unitMemory(), {"--silent-after", "3"});
    const auto out = testDir() / "earlier.qlf";
    writeFile(out, std::string("an earlier file"));
    const ProcessResult r = run({"read", "--reply-timeout", "50", "--out", out.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("nothing was saved"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("stopped answering while reading the unit clock"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("asking again (9 of 9)"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(out), "an earlier file");
    EXPECT_FALSE(std::filesystem::exists(testDir() / "earlier.qlf.tmp"));

    // One request waits out its attempts, the lock gets one more: not every step of the read.
    std::istringstream lines(readFile(sim->requestLog()));
    int unanswered = 0;
    for (std::string line; std::getline(lines, line);) {
        unanswered += json::parse(line).value("outcome", "") == "silent" ? 1 : 0;
    }
    EXPECT_EQ(unanswered, 9 + 1);
    EXPECT_EQ(pollCommands().back(), protocol::CMD_LOCK);
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
        const bool closeOutput = signal == SIGPIPE;
        Started qeltoctl({"read", "--only", "description,prog-names,comments", "--reply-timeout",
                          "300", "--out", out.string(), "--port", sim->portPath(), "--pin", "1234"},
                         -1, closeOutput);
        ASSERT_GT(qeltoctl.pid, 0);
        const auto start = steady_clock::now();
        if (closeOutput) {
            // Whoever read the output has gone; the next progress line meets a closed pipe.
            std::string line;
            do {
                line = qeltoctl.nextErrLine();
            } while (!line.empty() && line.find("Unit 123456789") == std::string::npos);
            EXPECT_FALSE(line.empty()) << "the unit was never unlocked";
            qeltoctl.closeErr();
        } else {
            std::this_thread::sleep_for(milliseconds(600));
            ::kill(qeltoctl.pid, signal);
        }
        EXPECT_EQ(qeltoctl.wait(), 128 + signal) << readFile(qeltoctl.err);
        EXPECT_LT(steady_clock::now() - start, seconds(2)) << "nine attempts would take 2.7 s";
        if (!closeOutput) {
            EXPECT_NE(readFile(qeltoctl.err).find(signal == SIGINT ? "cancelled" : "stopped by"),
                      std::string::npos);
        }
        EXPECT_FALSE(std::filesystem::exists(out));

        const auto commands = pollCommands();
        const auto asked = std::find(commands.begin(), commands.end(), protocol::CMD_GET_UNIT_DESC);
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
    Started qeltoctl({"clock", "get", "--port", "/dev/null"}, slave);
    termios settings{};
    for (int i = 0; i < 500 && ::tcgetattr(slave, &settings) == 0 && (settings.c_lflag & ECHO);
         ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(settings.c_lflag & ECHO, 0u) << "the PIN prompt turns the echo off";
    ::kill(qeltoctl.pid, SIGTERM);
    EXPECT_EQ(qeltoctl.wait(), 128 + SIGTERM);
    ASSERT_EQ(::tcgetattr(slave, &settings), 0);
    EXPECT_NE(settings.c_lflag & ECHO, 0u) << "the terminal was left mute";
    ::close(slave);
    ::close(master);
}

TEST_F(UnitCommands, AWrittenDocumentVerifiesAndOnlyComparedFieldsMakeADifference) {
    startUnit(json::object());
    doc::Document written = doc::resetDocument();
    written.config.progName[0] = "Towels";
    written.config.pumpEnabled[0][0][0] = 1;
    written.config.programs[0][0][0].runTime = {1, 30, 0};
    const auto file = saveDocument(written, "written.qlf");

    const ProcessResult wrote = run({"write", file.string(), "--verify"});
    ASSERT_EQ(wrote.exitCode, 0) << wrote.err;
    EXPECT_NE(wrote.err.find("yes (--verify)"), std::string::npos) << wrote.err;
    const ProcessResult same = run({"verify", file.string()});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "");

    doc::Document longer = written;
    longer.config.programs[0][0][0].runTime = {2, 0, 0};
    const ProcessResult differs = run({"verify", saveDocument(longer, "longer.qlf").string()});
    EXPECT_EQ(differs.exitCode, 1);
    EXPECT_NE(differs.out.find("program 1, trigger 1, pump 1:"), std::string::npos) << differs.out;
    EXPECT_NE(differs.out.find("2:00"), std::string::npos) << differs.out;

    doc::Document otherPin = written;
    otherPin.config.pin[0] = 4444;
    const ProcessResult pinOnly = run({"verify", saveDocument(otherPin, "pin.qlf").string()});
    EXPECT_EQ(pinOnly.exitCode, 0) << pinOnly.out << pinOnly.err;
}

TEST_F(UnitCommands, ReadThenWriteLeavesTheSerialNumberAndTheFileRemembersTheUnit) {
    startUnit(unitMemory());
    const auto file = testDir() / "read.qlf";
    ASSERT_EQ(run({"read", "--out", file.string()}).exitCode, 0);
    const ProcessResult shown = runQeltoctl({"show", file.string()});
    EXPECT_NE(shown.out.find("serial number 123456789, software V1.30"), std::string::npos)
        << shown.out;

    const ProcessResult wrote = run({"write", file.string()});
    ASSERT_EQ(wrote.exitCode, 0) << wrote.err;
    EXPECT_NE(wrote.err.find("note: the unit keeps its serial number 123456789\n"),
              std::string::npos)
        << wrote.err;
    sim->stop();
    EXPECT_EQ(json::parse(readFile(sim->dumpFile()))["serial"], 123456789);
}

TEST_F(UnitCommands, ADocumentOfAnotherUnitTypeIsWrittenOnlyWithChangeUnitType) {
    startUnit(unitMemory());
    doc::Document l10 = doc::resetDocument();
    l10.config.unitType = 9;
    l10.config.pumpCalibration[1] = 120;  // calibrated where the unit is
    const auto file = saveDocument(l10, "l10.qlf");

    const ProcessResult refused = run({"write", file.string()});
    EXPECT_EQ(refused.exitCode, 1);
    for (const char* named :
         {"an L10 (10 pumps)", "an L4 (4 pumps)", "--change-unit-type", "nothing was written"}) {
        EXPECT_NE(refused.err.find(named), std::string::npos) << refused.err;
    }
    std::istringstream lines(readFile(sim->requestLog()));
    for (std::string line; std::getline(lines, line);) {
        const json request = json::parse(line);
        EXPECT_EQ(request.at("id"), protocol::PKT_POLL) << line;
        EXPECT_NE(request.value("cmd", -1), protocol::CMD_GET_PUMPCAL) << line;
    }
    EXPECT_EQ(pollCommands().back(), protocol::CMD_LOCK);

    const ProcessResult changed = run({"write", file.string(), "--change-unit-type"});
    EXPECT_EQ(changed.exitCode, 0) << changed.err;
    EXPECT_NE(changed.err.find("makes the unit an L10"), std::string::npos) << changed.err;
    sim->stop();
    EXPECT_EQ(json::parse(readFile(sim->dumpFile()))["unitType"], 9);
}

// Exit 3, never 1: a unit that could not be read, or a document that could not be, was not found
// to differ.
TEST_F(UnitCommands, AVerifyThatCouldNotCompareSaysSoAndExitsThree) {
    startUnit(unitMemory(), {"--silent-after", "3"});
    const auto file = saveDocument(doc::resetDocument(), "doc.qlf");
    const ProcessResult silent = run({"verify", file.string(), "--reply-timeout", "50"});
    EXPECT_EQ(silent.exitCode, 3);
    EXPECT_EQ(silent.out, "");
    EXPECT_NE(silent.err.find("could not be compared"), std::string::npos) << silent.err;
    EXPECT_EQ(silent.err.find("does not match"), std::string::npos) << silent.err;

    const ProcessResult noFile = run({"verify", (testDir() / "missing.qlf").string()});
    EXPECT_EQ(noFile.exitCode, 3) << noFile.err;
    const ProcessResult noUnit = runQeltoctl(
        {"verify", file.string(), "--port", (testDir() / "no-tty").string(), "--pin", "1"});
    EXPECT_EQ(noUnit.exitCode, 3) << noUnit.err;
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
    ASSERT_EQ(before.exitCode, 0) << before.err;
    EXPECT_EQ(before.out.substr(0, 16), "2019-03-15 09:41") << before.out;
    EXPECT_NE(readFile(logDir / "CommsLog.csv").find("PKT_POLL,CMD_UNLOCK"), std::string::npos);

    const ProcessResult set = run({"clock", "set"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    const ProcessResult after = run({"clock", "get"});
    ASSERT_EQ(after.exitCode, 0) << after.err;
    std::tm shown{};
    std::istringstream(after.out) >> std::get_time(&shown, "%Y-%m-%d %H:%M:%S");
    shown.tm_isdst = -1;
    EXPECT_LT(std::abs(std::difftime(std::mktime(&shown), std::time(nullptr))), 120.0) << after.out;

    // A time that never reached standard output was not printed.
    const ProcessResult full =
        runProcess({"/bin/sh", "-c", "exec \"$0\" \"$@\" >/dev/full", QELTOCTL_PATH, "clock", "get",
                    "--port", sim->portPath(), "--pin", "1234"});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_NE(full.err.find("standard output"), std::string::npos) << full.err;
}

TEST_F(UnitCommands, ClockGetOnAUnitWithoutAClockFails) {
    startUnit(unitMemory(), {"--no-clock"});
    const ProcessResult r = run({"clock", "get"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("no clock"), std::string::npos) << r.err;
}

TEST_F(UnitCommands, ConnectionFailuresExitOneWithTheReason) {
    startUnit(unitMemory(), {"--pin", "4321"});
    const ProcessResult refused = run({"clock", "set"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("refused the PIN"), std::string::npos) << refused.err;
    const auto commands = pollCommands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), protocol::CMD_UNLOCK), 1);

    // A unit that refuses the poll before the unlock is there all the same. The scan of --unit
    // sends three requests, so the fourth, that poll, is the one refused.
    startUnit(unitMemory(), {"--nak-every", "4"});
    const ProcessResult nak = run({"clock", "get", "--unit", "0"});
    EXPECT_EQ(nak.exitCode, 0) << nak.err;
    EXPECT_EQ(nak.out.substr(0, 16), "2019-03-15 09:41") << nak.out;

    const auto missing = testDir() / "no-such-tty";
    const ProcessResult absent =
        runQeltoctl({"clock", "get", "--port", missing.string(), "--pin", "1234"});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_NE(absent.err.find("cannot open " + missing.string()), std::string::npos) << absent.err;
}

TEST_F(UnitCommands, UsageErrorsExitTwoAndSayWhatIsWrong) {
    const auto file = saveDocument(doc::resetDocument(), "doc.qlf");
    const ProcessResult badItem = runQeltoctl(
        {"verify", file.string(), "--port", "/dev/null", "--pin", "1", "--only", "names"});
    EXPECT_EQ(badItem.exitCode, 2);
    EXPECT_NE(badItem.err.find("'names'"), std::string::npos) << badItem.err;
    EXPECT_NE(badItem.err.find("pump-names, prog-names, pump-cal"), std::string::npos);

    const ProcessResult noLink = runQeltoctl({"verify", file.string(), "--pin", "1"});
    EXPECT_EQ(noLink.exitCode, 2);
    EXPECT_NE(noLink.err.find("--usb"), std::string::npos) << noLink.err;

    EXPECT_EQ(runQeltoctl({"clock", "get", "--port", "/dev/null", "--usb", "--pin", "1"}).exitCode,
              2);
    const ProcessResult noPin = runQeltoctl({"clock", "get", "--port", "/dev/null"});
    EXPECT_EQ(noPin.exitCode, 2);
    EXPECT_NE(noPin.err.find("--pin"), std::string::npos) << noPin.err;
}

}  // namespace
}  // namespace qelto::test
