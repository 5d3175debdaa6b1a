// qeltoctl: Qelto's operations from the command line, for scripts, batch work and automation.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>

#include "cli/batch_commands.h"
#include "cli/bt_commands.h"
#include "cli/calibration_commands.h"
#include "cli/document_commands.h"
#include "cli/exit_codes.h"
#include "cli/legacy_commands.h"
#include "cli/port_commands.h"
#include "cli/report_command.h"
#include "cli/scan_command.h"
#include "cli/unit_commands.h"

int main(int argc, char** argv) {
    using namespace qelto::cli;
    CLI::App app{"Qelto: configure, program and verify dosing-pump controllers", "qeltoctl"};
    app.require_subcommand(1);
    app.set_version_flag("--version", QELTO_VERSION);

    int exitCode = kExitOk;
    addDocumentCommands(app, exitCode);
    addPortCommands(app, exitCode);
    addScanCommand(app, exitCode);
    addBluetoothCommands(app, exitCode);
    addUnitCommands(app, exitCode);
    addBatchCommands(app, exitCode);
    addLegacyCommands(app, exitCode);
    addReportCommand(app, exitCode);
    addCalibrationCommands(app, exitCode);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitUsage;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qeltoctl: internal error: %s\n", e.what());
        return kExitFailure;
    }
    return exitCode;
}
