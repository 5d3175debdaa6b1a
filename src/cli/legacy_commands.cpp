#include "cli/legacy_commands.h"

#include <fmt/format.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_context.h"
#include "cli/document_io.h"
#include "cli/exit_codes.h"
#include "cli/history_file.h"
#include "cli/interrupt_cancel.h"
#include "cli/report_output.h"
#include "cli/terminal_prompts.h"
#include "cli/unit_options.h"
#include "cli/unit_run.h"
#include "comms/differences.h"
#include "comms/legacy_operations.h"
#include "comms/unit_report_page.h"
#include "comms/unit_session.h"
#include "reports/report_pages.h"

namespace qelto::cli {
namespace {

using Snapshot = comms::HistoryRecording::Snapshot;

struct LegacyOptions {
    std::string port;
    int password = 0;
    std::string file;  // the document to write from or compare with
    std::string out;   // the document a read saves, or the page a report writes
    std::optional<std::string> xlsx;
    int spareByte = 1;
};

TerminalAnswers answersWith(int password) {
    TerminalAnswers answers;
    // The units take the number as a signed 16-bit word; 65535 and -1 are the same password.
    answers.password = static_cast<std::int16_t>(static_cast<std::uint16_t>(password));
    return answers;
}

// Runs the operation on the older unit on --port through the unit session, a stop signal
// cancelling it. The result when it went through; otherwise nullopt with *exitCode set and the
// reason told (by the operation, or here).
std::optional<comms::OperationResult> runOnOlderUnit(CliContext& ctx, const LegacyOptions& options,
                                                     TerminalPrompts& prompts,
                                                     const comms::LegacyOperation& operation,
                                                     int* exitCode,
                                                     const comms::HistoryRecording& recording) {
    comms::UnitSession session([&ctx](int id) { return ctx.text(id); });
    session.configure(sessionSettings(ctx, options.port, kDefaultReplyTimeoutMs));
    const InterruptCancels interrupts(session);
    session.useHistory(openHistoryRecorder());
    const comms::SessionOutcome outcome =
        session.runLegacy(ctx.doc, prompts, operation, {}, recording);
    if (outcome.end == comms::SessionEnd::NotOpened) {
        printError(outcome.error);
        *exitCode = kExitFailure;
        return std::nullopt;
    }
    switch (outcome.result.status) {
        case comms::OperationStatus::Ok:
            return outcome.result;
        case comms::OperationStatus::Cancelled:
            // 128 + the signal that stopped it.
            *exitCode = reportCancelled();
            return std::nullopt;
        case comms::OperationStatus::Failed:
            break;
    }
    *exitCode = kExitFailure;
    return std::nullopt;
}

int runRead(const LegacyOptions& options) {
    CliContext ctx;
    // A read that cannot be saved is wasted on the unit, so the folder is checked before it.
    if (!canSaveDocument(options.out)) {
        return kExitFailure;
    }
    TerminalPrompts prompts(answersWith(options.password), [&ctx](int id) { return ctx.text(id); });
    prompts.holdSuccessMessages();
    int code = kExitOk;
    if (!runOnOlderUnit(ctx, options, prompts, comms::readOlderLaundry, &code,
                        {"legacy-read", Snapshot::WhenDone})) {
        printError(fmt::format("nothing was saved to {}", options.out));
        return code;
    }
    if (!saveDocument(ctx, options.out)) {
        printError("the unit was read, but what it holds could not be saved");
        return kExitFailure;
    }
    prompts.releaseHeldMessages();
    return kExitOk;
}

int runWrite(const LegacyOptions& options) {
    CliContext ctx;
    if (!openDocument(ctx, options.file)) {
        return kExitFailure;
    }
    TerminalPrompts prompts(answersWith(options.password), [&ctx](int id) { return ctx.text(id); });
    int code = kExitOk;
    runOnOlderUnit(ctx, options, prompts, comms::writeOlderLaundry, &code,
                   {"legacy-write", Snapshot::Always});
    return code;
}

int runThird(const LegacyOptions& options) {
    CliContext ctx;
    TerminalPrompts prompts(answersWith(options.password), [&ctx](int id) { return ctx.text(id); });
    int code = kExitOk;
    runOnOlderUnit(ctx, options, prompts, comms::sendThirdPasswordCommand, &code, {"legacy-third"});
    return code;
}

int runDishwashRead(const LegacyOptions& options) {
    CliContext ctx;
    if (!canSaveDocument(options.out)) {
        return kExitFailure;
    }
    TerminalPrompts prompts(TerminalAnswers{}, [&ctx](int id) { return ctx.text(id); });
    prompts.holdSuccessMessages();
    int code = kExitOk;
    if (!runOnOlderUnit(ctx, options, prompts, comms::readOlderDishwash, &code,
                        {"legacy-dishwash-read", Snapshot::WhenDone})) {
        printError(fmt::format("nothing was saved to {}", options.out));
        return code;
    }
    if (!saveDocument(ctx, options.out)) {
        return kExitFailure;
    }
    prompts.releaseHeldMessages();
    return kExitOk;
}

int runDishwashVerify(const LegacyOptions& options) {
    CliContext ctx;
    if (!openDocument(ctx, options.file)) {
        return kExitFailure;
    }
    TerminalPrompts prompts(TerminalAnswers{}, [&ctx](int id) { return ctx.text(id); });
    prompts.hideSuccessMessages();
    int code = kExitOk;
    const auto result = runOnOlderUnit(ctx, options, prompts, comms::verifyOlderDishwash, &code,
                                       {"legacy-dishwash-verify"});
    if (!result) {
        return code;
    }
    for (const comms::Difference& difference : result->differences) {
        std::fputs((comms::olderDifferenceLine(difference) + "\n").c_str(), stdout);
    }
    std::fflush(stdout);
    if (!result->differences.empty()) {
        printError(fmt::format("the unit differs from {} in {} setting(s)", options.file,
                               result->differences.size()));
        return kExitFailure;
    }
    return kExitOk;
}

// The reports take no password: the units send their counters and their text to anyone.
int runUsage(const LegacyOptions& options) {
    if (const int code = checkReportOutputs(options.out, options.xlsx); code != kExitOk) {
        return code;
    }
    CliContext ctx;
    TerminalPrompts prompts(TerminalAnswers{}, [&ctx](int id) { return ctx.text(id); });
    comms::UnitReport report;
    int code = kExitOk;
    if (!runOnOlderUnit(
            ctx, options, prompts,
            [&report](comms::LegacyContext& unit) { return comms::readOlderUsage(unit, report); },
            &code, {"legacy-usage"})) {
        printError(fmt::format("nothing was written to {}", options.out));
        return code;
    }
    return savePage(ctx, comms::renderUnitReport(report, pageContext(ctx, 0)), options.out,
                    options.xlsx);
}

int runDump(const LegacyOptions& options) {
    if (!canSaveInto(options.out)) {
        return kExitFailure;
    }
    CliContext ctx;
    TerminalPrompts prompts(TerminalAnswers{}, [&ctx](int id) { return ctx.text(id); });
    std::vector<std::string> lines;
    int code = kExitOk;
    if (!runOnOlderUnit(
            ctx, options, prompts,
            [&lines](comms::LegacyContext& unit) { return comms::readOlderTextDump(unit, lines); },
            &code, {"legacy-dump"})) {
        printError(fmt::format("nothing was written to {}", options.out));
        return code;
    }
    return savePage(ctx, reports::renderTextDump(lines, pageContext(ctx, 0)), options.out,
                    std::nullopt);
}

int runSpareByte(const LegacyOptions& options) {
    CliContext ctx;
    TerminalPrompts prompts(TerminalAnswers{}, [&ctx](int id) { return ctx.text(id); });
    const auto value = static_cast<std::uint8_t>(options.spareByte);
    int code = kExitOk;
    if (!runOnOlderUnit(ctx, options, prompts,
                        [value](comms::LegacyContext& unit) {
                            return comms::writeSpareLaundryByte(unit, value);
                        },
                        &code, {"legacy-spare-byte"})) {
        return code;
    }
    std::fputs(fmt::format("spare laundry byte set to {}\n", options.spareByte).c_str(), stdout);
    return kExitOk;
}

void addPort(CLI::App& cmd, LegacyOptions& options) {
    cmd.add_option("--port", options.port, "Serial port of the unit (/dev/ttyUSB0, COM5)")
        ->required();
}

void addPassword(CLI::App& cmd, LegacyOptions& options) {
    cmd.add_option("--password", options.password,
                   "The unit's password (-32768..65535; 65535 and -1 are the same)")
        ->required()
        ->check(CLI::Range(-32768, 65535));
}

}  // namespace

void addLegacyCommands(CLI::App& app, int& exitCode) {
    CLI::App* legacyCmd = app.add_subcommand("legacy", "Older units on the legacy serial protocol");
    legacyCmd->require_subcommand(1);

    auto read = std::make_shared<LegacyOptions>();
    CLI::App* readCmd =
        legacyCmd->add_subcommand("read", "Read an older laundry unit into a document file");
    readCmd->add_option("--out", read->out, "Document file to write")->required();
    addPort(*readCmd, *read);
    addPassword(*readCmd, *read);
    readCmd->callback([read, &exitCode] { exitCode = runRead(*read); });

    auto write = std::make_shared<LegacyOptions>();
    CLI::App* writeCmd =
        legacyCmd->add_subcommand("write", "Write a document file into an older laundry unit");
    writeCmd->add_option("FILE", write->file, "Document file to write from")->required();
    addPort(*writeCmd, *write);
    addPassword(*writeCmd, *write);
    writeCmd->callback([write, &exitCode] { exitCode = runWrite(*write); });

    auto third = std::make_shared<LegacyOptions>();
    CLI::App* thirdCmd = legacyCmd->add_subcommand(
        "third", "Send the third password command (no data) to an older laundry unit");
    addPort(*thirdCmd, *third);
    addPassword(*thirdCmd, *third);
    thirdCmd->callback([third, &exitCode] { exitCode = runThird(*third); });

    CLI::App* dishwashCmd = legacyCmd->add_subcommand("dishwash", "Older dishwash units");
    dishwashCmd->require_subcommand(1);

    auto dwRead = std::make_shared<LegacyOptions>();
    CLI::App* dwReadCmd =
        dishwashCmd->add_subcommand("read", "Read a dishwash unit's settings into a document");
    dwReadCmd->add_option("--out", dwRead->out, "Document file to write")->required();
    addPort(*dwReadCmd, *dwRead);
    dwReadCmd->callback([dwRead, &exitCode] { exitCode = runDishwashRead(*dwRead); });

    auto dwVerify = std::make_shared<LegacyOptions>();
    CLI::App* dwVerifyCmd = dishwashCmd->add_subcommand(
        "verify", "Compare a dishwash unit with a document and print every difference");
    dwVerifyCmd->add_option("FILE", dwVerify->file, "Document file to compare with")->required();
    addPort(*dwVerifyCmd, *dwVerify);
    dwVerifyCmd->callback([dwVerify, &exitCode] { exitCode = runDishwashVerify(*dwVerify); });

    auto usage = std::make_shared<LegacyOptions>();
    CLI::App* usageCmd = legacyCmd->add_subcommand(
        "usage", "Write the usage report of an older laundry unit's totals as an HTML page");
    usageCmd->add_option("--out", usage->out, "The HTML page to write")->required();
    usageCmd->add_option("--xlsx", usage->xlsx,
                         "Also fill a copy of the spreadsheet template with the page's values");
    addPort(*usageCmd, *usage);
    usageCmd->callback([usage, &exitCode] { exitCode = runUsage(*usage); });

    auto dump = std::make_shared<LegacyOptions>();
    CLI::App* dumpCmd = legacyCmd->add_subcommand(
        "dump", "Write the text an older unit prints about its memory as an HTML page");
    dumpCmd->add_option("--out", dump->out, "The HTML page to write")->required();
    addPort(*dumpCmd, *dump);
    dumpCmd->callback([dump, &exitCode] { exitCode = runDump(*dump); });

    auto spare = std::make_shared<LegacyOptions>();
    CLI::App* spareCmd = legacyCmd->add_subcommand(
        "spare-byte", "Write the spare laundry byte of an older laundry unit (software 1.10 on)");
    addPort(*spareCmd, *spare);
    spareCmd->add_option("--value", spare->spareByte, "The byte to write (0..255)")
        ->capture_default_str()
        ->check(CLI::Range(0, 255));
    spareCmd->callback([spare, &exitCode] { exitCode = runSpareByte(*spare); });
}

}  // namespace qelto::cli
