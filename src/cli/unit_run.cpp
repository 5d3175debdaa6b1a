#include "cli/unit_run.h"

#include <fmt/format.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <system_error>

#include "cli/exit_codes.h"
#include "cli/interrupt_cancel.h"
#include "cli/pin_entry.h"
#include "cli/unit_scan.h"
#include "comms/unit_connection.h"
#include "logs/comms_log.h"
#include "model/unit_types.h"
#include "platform/user_paths.h"

namespace qelto::cli {
namespace {

// The log goes where the settings keep logs; a user who never chose a folder gets the working
// directory, as the log always used.
std::unique_ptr<logs::CommsLog> openCommsLog(const platform::Settings& settings) {
    std::error_code ec;
    const std::filesystem::path dir = settings.logDirectory.empty()
                                          ? std::filesystem::current_path(ec)
                                          : std::filesystem::path(settings.logDirectory);
    if (!std::filesystem::is_directory(dir, ec)) {
        printError(fmt::format(
            "cannot write the communications log: the log directory {} does not exist; create "
            "it, or change LogDirectory in {}",
            dir.string(), platform::settingsFile().string()));
        return nullptr;
    }
    logs::CommsLog::Environment env;
    env.file = dir / "CommsLog.csv";
    printNote("communications log: " + env.file.string());
    auto log = std::make_unique<logs::CommsLog>(std::move(env));
    log->setEnabled(true);
    return log;
}

comms::LinkRequest linkRequest(const UnitOptions& options, const platform::Settings& settings) {
    comms::LinkRequest request;
    request.port = options.port;
    request.usb = options.usb;
    if (options.rfChannel) {
        request.rfChannel = static_cast<std::uint8_t>(*options.rfChannel);
    }
    request.replyTimeout = std::chrono::milliseconds(options.replyTimeoutMs);
    request.throttleSteps = settings.usbSpeedThrottle;
    return request;
}

std::string versionText(const protocol::UnitIdentity& unit) {
    return fmt::format("V{:c}.{:c}{:c}", static_cast<char>(unit.version[0]),
                       static_cast<char>(unit.version[1]), static_cast<char>(unit.version[2]));
}

// --unit N: a fresh scan, then the link of its entry N.
std::unique_ptr<comms::UnitConnection> openScannedUnit(const CliContext& ctx,
                                                       const UnitOptions& options,
                                                       logs::CommsLog* log, std::string* error) {
    // Its own prompts, so the scan's status lines are ended before the operation's begin.
    TerminalPrompts prompts(TerminalAnswers{}, [&ctx](int id) { return ctx.text(id); });
    ScanRequest scan;
    scan.port = options.port;
    scan.replyTimeout = std::chrono::milliseconds(options.replyTimeoutMs);
    ScanOutcome outcome;
    scanForUnits(ctx, scan, prompts, outcome);
    const auto index = static_cast<std::size_t>(*options.unit);
    const std::size_t found = outcome.table.count();
    if (index >= found) {
        *error = found == 0 ? fmt::format(
                                  "no unit answered on {} or on USB, so there is no unit "
                                  "{}; check the cable, dongle and --port",
                                  outcome.port, index)
                            : fmt::format(
                                  "the scan found {} unit{} (0 to {}), so there is no "
                                  "unit {}; `qeltoctl scan` lists them",
                                  found, found == 1 ? "" : "s", found - 1, index);
        return nullptr;
    }
    comms::LinkRequest request = linkRequest(options, ctx.settings);
    request.port = outcome.port;
    return comms::UnitConnection::openScanned(outcome.table[index], std::move(outcome.links),
                                              request, log, error);
}

void printLockWarning(std::uint32_t serial) {
    printError(fmt::format(
        "unit {:09} did not answer the lock request and may still accept changes; run any "
        "qeltoctl command on it to lock it",
        serial));
}

void lockOnceMore(comms::UnitConnection& session, std::uint32_t serial) {
    if (!session.finish(false)) {
        printLockWarning(serial);
    }
}

}  // namespace

int settleLinkAndPin(const UnitOptions& options, std::uint16_t& pin) {
    if (const std::string error = linkUsageError(options); !error.empty()) {
        printError(error);
        return kExitUsage;
    }
    if (options.pin) {
        pin = static_cast<std::uint16_t>(*options.pin);
        return kExitOk;
    }
    switch (askPinAtTerminal(pin)) {
        case PinEntry::Entered:
            return kExitOk;
        case PinEntry::NoTerminal:
            printError(
                "give the unit's PIN with --pin: standard input is not a terminal to ask on");
            return kExitUsage;
        case PinEntry::Invalid:
            break;
    }
    printError("a PIN is a number from 0 to 65535");
    return kExitUsage;
}

std::optional<comms::OperationResult> runOnUnit(CliContext& ctx, const UnitOptions& options,
                                                TerminalPrompts& prompts,
                                                const Operation& operation) {
    std::unique_ptr<logs::CommsLog> log;
    if (options.commsLog && !(log = openCommsLog(ctx.settings))) {
        return std::nullopt;
    }
    std::string error;
    const auto session = options.unit ? openScannedUnit(ctx, options, log.get(), &error)
                                      : comms::UnitConnection::open(
                                            linkRequest(options, ctx.settings), log.get(), &error);
    if (!session) {
        printError(error);
        return std::nullopt;
    }
    const InterruptCancels interrupts(session->abortFlag(), session->serialPort());

    protocol::CommsData data;
    switch (session->unlock(data, prompts, &error)) {
        case comms::UnlockOutcome::Unlocked:
            break;
        case comms::UnlockOutcome::Cancelled:
            // The unlock may have reached the unit before the stop. Locked here, while the stop
            // handlers still keep a second SIGTERM or hang-up from cutting the lock short.
            lockOnceMore(*session, session->identity().serial);
            reportCancelled();
            return std::nullopt;
        default:
            printError(error);
            return std::nullopt;
    }
    const protocol::UnitIdentity& unit = session->identity();
    std::fputs(
        fmt::format("Unit {:09} ({}, software {}) on {}\n", unit.serial,
                    model::unitModelName(unit.unitTypeIndex), versionText(unit), session->where())
            .c_str(),
        stderr);

    // --language changes only what the engineer reads: the display language written into the
    // unit follows the settings, as it does in the window. A language never chosen is English.
    comms::OperationContext context{ctx.doc,
                                    session->link(),
                                    data,
                                    prompts,
                                    [&ctx](int id) { return ctx.text(id); },
                                    ctx.settings.language != 0 ? ctx.settings.language : 1,
                                    {}};
    comms::OperationResult result = operation(context);
    if (interrupts.interrupted()) {
        result.status = comms::OperationStatus::Cancelled;
    }
    if (const std::string step = session->unansweredStep(); !step.empty()) {
        printError(fmt::format(
            "unit {:09} stopped answering while {}, so the operation stopped there; check the "
            "cable or radio link and that the unit is switched on, then run the command again",
            unit.serial, step));
    }
    if (!session->finish(result.unitLocked)) {
        printLockWarning(unit.serial);
    }
    return result;
}

int reportCancelled() {
    const int signal = stopSignal();
    switch (signal) {
        case 0:
            printError("cancelled by the operator");
            return kExitFailure;
        case SIGINT:
            printError("cancelled by the operator (Ctrl-C)");
            break;
        case SIGPIPE:
            printError("stopped: the output was closed (SIGPIPE)");
            break;
        default:
            printError(fmt::format("stopped by {}", signal == SIGHUP ? "SIGHUP" : "SIGTERM"));
            break;
    }
    return kExitSignalBase + signal;
}

}  // namespace qelto::cli
