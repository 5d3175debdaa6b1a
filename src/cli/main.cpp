// qeltoctl: Qelto's operations from the command line, for scripts, batch work and automation.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "cli/batch_commands.h"
#include "cli/bt_commands.h"
#include "cli/calibration_commands.h"
#include "cli/cli_context.h"
#include "cli/command_help.h"
#include "cli/document_commands.h"
#include "cli/exit_codes.h"
#include "cli/history_commands.h"
#include "cli/interrupt_cancel.h"
#include "cli/legacy_commands.h"
#include "cli/port_commands.h"
#include "cli/report_command.h"
#include "cli/scan_command.h"
#include "cli/unit_commands.h"

namespace {

using namespace qelto::cli;

// For these commands (`history diff` among them) exit status 1 says "differs", so results that
// never reached standard output must not end with it.
bool comparesThings(const CLI::App& app) {
    for (const CLI::App* command : app.get_subcommands()) {
        const std::string& name = command->get_name();
        if (name == "verify" || name == "diff" || (name == "history" && comparesThings(*command))) {
            return true;
        }
    }
    return false;
}

// Results that never reached standard output (a full disk, a closed pipe) are a failure, never a
// success; a signal that stopped the command decides the status over everything else.
int finalStatus(const CLI::App& app, int exitCode) {
    if (const int signal = stopSignal(); signal != 0) {
        return kExitSignalBase + signal;
    }
    // std::cout writes through stdout's buffer, so one fflush delivers both.
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    std::cout.flush();
    if (flushed && std::ferror(stdout) == 0 && std::cout) {
        return exitCode;
    }
    printError(std::string("the results could not be written to standard output") +
               (error != 0 ? std::string(": ") + std::strerror(error) : std::string()));
    const bool comparison = comparesThings(app);
    if (exitCode == kExitOk || (comparison && exitCode == kExitFailure)) {
        return comparison ? kExitNotCompared : kExitFailure;
    }
    return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    installStopHandlers();
    CLI::App app{"Qelto: configure, program and verify dosing-pump controllers", "qeltoctl"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("qeltoctl ") + QELTO_VERSION);
    app.add_flag_callback(
        "-q,--quiet", [] { setQuiet(true); },
        "Print only results, warnings and errors: no progress, notes or done messages");
    // Set before the commands are added, which inherit it: `qeltoctl read --quiet` works too.
    app.fallthrough();

    int exitCode = kExitOk;
    addHelpCommand(app, exitCode);
    addDocumentCommands(app, exitCode);
    addPortCommands(app, exitCode);
    addScanCommand(app, exitCode);
    addBluetoothCommands(app, exitCode);
    addUnitCommands(app, exitCode);
    addBatchCommands(app, exitCode);
    addLegacyCommands(app, exitCode);
    addReportCommand(app, exitCode);
    addCalibrationCommands(app, exitCode);
    addHistoryCommands(app, exitCode);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return finalStatus(app, app.exit(e));
    } catch (const CLI::CallForAllHelp& e) {
        return finalStatus(app, app.exit(e));
    } catch (const CLI::CallForVersion& e) {
        return finalStatus(app, app.exit(e));
    } catch (const CLI::ParseError& e) {
        return reportUsageError(app, e);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qeltoctl: internal error: %s\n", e.what());
        return kExitFailure;
    }
    return finalStatus(app, exitCode);
}
