#include "cli/legacy_commands.h"

#include <fmt/format.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "cli/cli_context.h"
#include "cli/document_io.h"
#include "cli/exit_codes.h"
#include "cli/legacy_terminal.h"
#include "cli/report_output.h"
#include "legacy/dishwash_settings.h"
#include "legacy/laundry_config.h"
#include "legacy/laundry_usage.h"
#include "legacy/text_dump.h"
#include "legacy/unit_texts.h"
#include "legacy/usage_report_data.h"
#include "platform/serial_port.h"
#include "reports/report_pages.h"

namespace qelto::cli {
namespace {

using legacy::LegacyOutcome;

struct LegacyOptions {
    std::string port;
    int password = 0;
    std::string file;  // the document to write from or compare with
    std::string out;   // the document a read saves, or the page a report writes
    std::optional<std::string> xlsx;
    int spareByte = 1;
};

legacy::LegacyLink openLink(const std::string& port) {
    legacy::LegacyLink link([](const std::string& name, unsigned baud,
                               std::string* error) -> std::unique_ptr<platform::ByteLink> {
        return platform::SerialPort::open(name, baud, error);
    });
    link.setPortName(port);
    return link;
}

LegacyTerminal terminal(const CliContext& ctx, int password) {
    // The units take the number as a signed 16-bit word; 65535 and -1 are the same password.
    return LegacyTerminal(static_cast<std::int16_t>(static_cast<std::uint16_t>(password)),
                          [&ctx](int id) { return ctx.language.find(id); });
}

// A read that cannot be saved is wasted on the unit, so the folder is checked before it.
// The outcomes the operation has not told the engineer about yet.
int exitFor(LegacyOutcome outcome, const legacy::LegacyLink& link) {
    switch (outcome) {
        case LegacyOutcome::Done:
            return kExitOk;
        case LegacyOutcome::PortUnavailable:
            printError(link.openError());
            break;
        case LegacyOutcome::Cancelled:
            printError("cancelled");
            break;
        case LegacyOutcome::NoAnswer:
        case LegacyOutcome::PasswordRefused:
        case LegacyOutcome::Failed:
            break;
    }
    return kExitFailure;
}

int runRead(const LegacyOptions& options) {
    CliContext ctx;
    if (!canSaveDocument(options.out)) {
        return kExitFailure;
    }
    legacy::LegacyLink link = openLink(options.port);
    LegacyTerminal prompts = terminal(ctx, options.password);
    prompts.holdSuccessMessages();
    const LegacyOutcome outcome = legacy::ReadLegacyUnit(link, prompts, ctx.config);
    if (outcome != LegacyOutcome::Done) {
        const int code = exitFor(outcome, link);
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
    legacy::LegacyLink link = openLink(options.port);
    LegacyTerminal prompts = terminal(ctx, options.password);
    return exitFor(legacy::WriteLegacyUnit(link, prompts, ctx.config), link);
}

int runThird(const LegacyOptions& options) {
    CliContext ctx;
    legacy::LegacyLink link = openLink(options.port);
    LegacyTerminal prompts = terminal(ctx, options.password);
    return exitFor(legacy::SendThirdPasswordCommand(link, prompts), link);
}

int reportDishwashFailure(LegacyOutcome outcome, const legacy::LegacyLink& link) {
    if (outcome == LegacyOutcome::NoAnswer) {
        printError("the unit did not answer the settings report command");
    } else if (outcome == LegacyOutcome::Failed) {
        printError("the unit's settings report broke off");
    }
    return exitFor(outcome, link);
}

int runDishwashRead(const LegacyOptions& options) {
    CliContext ctx;
    if (!canSaveDocument(options.out)) {
        return kExitFailure;
    }
    legacy::LegacyLink link = openLink(options.port);
    legacy::DishwashReading reading;
    const LegacyOutcome outcome = legacy::ReadDishwashSettings(link, reading);
    if (outcome != LegacyOutcome::Done) {
        const int code = reportDishwashFailure(outcome, link);
        printError(fmt::format("nothing was saved to {}", options.out));
        return code;
    }
    legacy::storeDishwashStream(reading.stream, ctx.doc.dishwash());
    ctx.doc.dishwash().DW_Pin = reading.general.pins;
    model::setText(ctx.config.customerName1, reading.general.customerLines[0]);
    model::setText(ctx.config.customerName2, reading.general.customerLines[1]);
    ctx.config.comments = reading.comments;
    // So that whoever opens the file (the window, `qeltoctl report`) takes it for a dishwash
    // unit's.
    ctx.doc.setActiveView(model::kDishwashEditorView);
    return saveDocument(ctx, options.out) ? kExitOk : kExitFailure;
}

int runDishwashVerify(const LegacyOptions& options) {
    CliContext ctx;
    if (!openDocument(ctx, options.file)) {
        return kExitFailure;
    }
    legacy::LegacyLink link = openLink(options.port);
    std::vector<std::string> differences;
    const LegacyOutcome outcome = legacy::VerifyDishwashUnit(link, ctx.doc.dishwash(), differences);
    if (outcome != LegacyOutcome::Done) {
        return reportDishwashFailure(outcome, link);
    }
    for (const std::string& line : differences) {
        std::fputs((line + "\n").c_str(), stdout);
    }
    std::fflush(stdout);
    if (!differences.empty()) {
        printError(fmt::format("the unit differs from {} in {} setting(s)", options.file,
                               differences.size()));
        return kExitFailure;
    }
    return kExitOk;
}

// The reports take no password: the units send their counters and their text to anyone.
int reportReadFailure(LegacyOutcome outcome, const legacy::LegacyLink& link,
                      const std::string& what) {
    if (outcome == LegacyOutcome::NoAnswer) {
        printError(fmt::format("the unit did not answer the {} command", what));
    } else if (outcome == LegacyOutcome::Failed) {
        printError(fmt::format("the unit's {} broke off", what));
    }
    return exitFor(outcome, link);
}

int runUsage(const LegacyOptions& options) {
    if (const int code = checkReportOutputs(options.out, options.xlsx); code != kExitOk) {
        return code;
    }
    CliContext ctx;
    legacy::LegacyLink link = openLink(options.port);
    legacy::LegacyUsage usage;
    const LegacyOutcome outcome = legacy::ReadLegacyUsage(link, usage);
    if (outcome != LegacyOutcome::Done) {
        const int code = reportReadFailure(outcome, link, "usage report");
        printError(fmt::format("nothing was written to {}", options.out));
        return code;
    }
    // The unit's own totals: no date range and no shifts, so the shift tables stay empty.
    const reports::ReportData data = legacy::reportDataFromLegacyUsage(usage);
    const model::CProgData unit = legacy::unitFromLegacyUsage(usage, link.deviceInfo());
    const reports::UsageTables tables{};
    const reports::ReportOptions range{};
    const reports::UsagePageInput input{data, tables, range, unit, data.pumpCount};
    const std::string page = reports::renderLaundryUsage(input, pageContext(ctx, 0));
    return savePage(ctx, page, options.out, options.xlsx);
}

int runDump(const LegacyOptions& options) {
    if (!canSaveInto(options.out)) {
        return kExitFailure;
    }
    CliContext ctx;
    legacy::LegacyLink link = openLink(options.port);
    std::vector<std::string> lines;
    const LegacyOutcome outcome = legacy::ReadTextDump(link, lines);
    if (outcome != LegacyOutcome::Done) {
        if (outcome == LegacyOutcome::PortUnavailable) {
            printError(link.openError());
        }
        LegacyTerminal prompts = terminal(ctx, 0);
        prompts.message(legacy::kTextReadNoAnswer, legacy::LegacyIcon::Error,
                        legacy::unitNameText(link.deviceInfo()));
        printError(fmt::format("nothing was written to {}", options.out));
        return kExitFailure;
    }
    return savePage(ctx, reports::renderTextDump(lines, pageContext(ctx, 0)), options.out,
                    std::nullopt);
}

int runSpareByte(const LegacyOptions& options) {
    legacy::LegacyLink link = openLink(options.port);
    switch (link.SignOn()) {
        case legacy::LegacyResult::Ok:
            break;
        case legacy::LegacyResult::PortUnavailable:
            printError(link.openError());
            return kExitFailure;
        default:
            printError("the unit did not answer the sign-on");
            return kExitFailure;
    }
    const legacy::DeviceInfo& info = link.deviceInfo();
    if (!legacy::hasUnitTexts(info)) {
        // Earlier units do not acknowledge the command, so it is not even tried.
        const std::string version = info[0] == legacy::kInfoReceived
                                        ? "software " + legacy::versionText(info)
                                        : "no software version given";
        printError(fmt::format(
            "the unit ({}) has no spare laundry byte: it came with software 1.10", version));
        return kExitFailure;
    }
    if (!legacy::WriteSpareLaundryByte(link, static_cast<std::uint8_t>(options.spareByte))) {
        printError("the unit did not take the spare laundry byte");
        return kExitFailure;
    }
    std::fputs(fmt::format("spare laundry byte set to {}\n", options.spareByte).c_str(), stdout);
    return kExitOk;
}

void addPort(CLI::App& cmd, LegacyOptions& options) {
    cmd.add_option("--port", options.port, "Serial port of the unit (e.g. /dev/ttyUSB0)")
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
