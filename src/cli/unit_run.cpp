#include "cli/unit_run.h"

#include <fmt/format.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "cli/exit_codes.h"
#include "cli/history_file.h"
#include "cli/interrupt_cancel.h"
#include "cli/pin_entry.h"
#include "comms/software_version.h"
#include "model/unit_types.h"
#include "platform/user_paths.h"

namespace qelto::cli {
namespace {

comms::LinkRequest linkRequest(const UnitOptions& options) {
    comms::LinkRequest request;
    request.port = options.port;
    request.usb = options.usb;
    if (options.rfChannel) {
        request.rfChannel = static_cast<std::uint8_t>(*options.rfChannel);
    }
    return request;
}

void printLockWarning(std::uint32_t serial) {
    printError(fmt::format(
        "unit {:09} did not answer the lock request and may still accept changes; run any "
        "qeltoctl command on it to lock it",
        serial));
}

}  // namespace

comms::SessionSettings sessionSettings(const CliContext& ctx, const std::string& port,
                                       int replyTimeoutMs) {
    // --language changes only what the engineer reads: the display language written into the
    // unit follows the settings, as it does in the window.
    comms::SessionSettings settings = comms::sessionSettingsFrom(ctx.settings);
    if (!port.empty()) {
        settings.serialPort = port;
    }
    settings.replyTimeout = std::chrono::milliseconds(replyTimeoutMs);
    return settings;
}

bool startCommsLog(const CliContext& ctx, comms::UnitSession& session) {
    // The log goes where the settings keep logs; a user who never chose a folder gets the
    // working directory, as the log always used.
    std::error_code ec;
    const std::filesystem::path folder = ctx.settings.logDirectory.empty()
                                             ? std::filesystem::current_path(ec)
                                             : std::filesystem::path(ctx.settings.logDirectory);
    std::string error;
    if (!session.startCommsLog(folder, printError, &error)) {
        printError(
            fmt::format("{}; change LogDirectory in {}", error, platform::settingsFile().string()));
        return false;
    }
    printNote("communications log: " + session.commsLogFile().string());
    return true;
}

int settleLinkAndPin(const UnitOptions& options, std::uint16_t& pin) {
    if (const std::string error = linkUsageError(options); !error.empty()) {
        printError(error);
        return kExitUsage;
    }
    if (options.pin) {
        pin = static_cast<std::uint16_t>(*options.pin);
        return kExitOk;
    }
    if (options.pinFile) {
        std::string error;
        const auto fromFile = readPinFile(*options.pinFile, error);
        if (!fromFile) {
            printError(error);
            return kExitUsage;
        }
        pin = *fromFile;
        return kExitOk;
    }
    if (const char* fromEnvironment = std::getenv("QELTO_PIN"); fromEnvironment != nullptr) {
        const auto parsed = parsePin(fromEnvironment);
        if (!parsed) {
            printError("QELTO_PIN is not a PIN: a number from 0 to 65535");
            return kExitUsage;
        }
        pin = *parsed;
        return kExitOk;
    }
    switch (askPinAtTerminal(pin)) {
        case PinEntry::Entered:
            return kExitOk;
        case PinEntry::NoTerminal:
            printError(
                "give the unit's PIN with --pin-file, QELTO_PIN or --pin: standard input is not "
                "a terminal to ask on");
            return kExitUsage;
        case PinEntry::Invalid:
            break;
    }
    printError("a PIN is a number from 0 to 65535");
    return kExitUsage;
}

std::optional<comms::OperationResult> runOnUnit(CliContext& ctx, const UnitOptions& options,
                                                TerminalPrompts& prompts,
                                                const Operation& operation,
                                                const comms::HistoryRecording& recording,
                                                std::optional<std::uint32_t> onlySerial) {
    comms::UnitSession session([&ctx](int id) { return ctx.text(id); });
    session.configure(sessionSettings(ctx, options.port, options.replyTimeoutMs));
    if (!recording.operation.empty()) {
        session.useHistory(openHistoryRecorder());
    }
    if (options.commsLog && !startCommsLog(ctx, session)) {
        return std::nullopt;
    }
    const InterruptCancels interrupts(session);
    comms::UnitChoice choice;
    choice.onlySerial = onlySerial;
    if (options.unit) {
        // --unit N: line N of a fresh scan, with prompts of its own, so the scan's status lines
        // end before the operation's begin.
        TerminalPrompts scanPrompts(TerminalAnswers{}, [&ctx](int id) { return ctx.text(id); });
        session.scan(scanPrompts);
        choice.line = static_cast<std::size_t>(*options.unit);
    } else {
        choice.link = linkRequest(options);
    }
    const comms::SessionOutcome outcome = session.run(
        choice, ctx.doc, prompts, operation,
        [](const comms::UnitIdentity& unit, const std::string& where) {
            printMessage(fmt::format("unit {:09} ({}, software {}) on {}", unit.serial,
                                     model::unitModelName(unit.unitTypeIndex),
                                     comms::softwareVersionText(unit.version), where));
        },
        recording);
    switch (outcome.end) {
        case comms::SessionEnd::Ran:
            break;
        case comms::SessionEnd::Cancelled:
            if (outcome.lockFailed) {
                printLockWarning(outcome.unit.serial);
            }
            reportCancelled();
            return std::nullopt;
        default:
            printError(outcome.error);
            return std::nullopt;
    }
    if (!outcome.stoppedAnswering.empty()) {
        printError(outcome.stoppedAnswering);
    }
    if (outcome.result.closingMessage == comms::kMsgWriteRefusedNoBackup) {
        printNote("give --no-backup to write without keeping the unit's present settings");
    }
    if (outcome.lockFailed) {
        printLockWarning(outcome.unit.serial);
    }
    return outcome.result;
}

int reportCancelled() {
    const int signal = stopSignal();
    switch (signal) {
        case 0:
            printError("cancelled by the operator");
            return kExitFailure;
        case kStopInterrupt:
            printError("cancelled by the operator (Ctrl-C)");
            break;
        case kStopPipe:
            printError("stopped: the output was closed (SIGPIPE)");
            break;
        default:
            printError(fmt::format("stopped by {}", stopName(signal)));
            break;
    }
    return kExitSignalBase + signal;
}

}  // namespace qelto::cli
