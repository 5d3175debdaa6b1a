#include "cli/report_command.h"

#include <fmt/format.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/document_io.h"
#include "cli/exit_codes.h"
#include "cli/report_output.h"
#include "cli/report_range.h"
#include "cli/terminal_prompts.h"
#include "cli/unit_options.h"
#include "cli/unit_run.h"
#include "comms/unit_report.h"
#include "comms/unit_report_page.h"
#include "reports/report_kinds.h"
#include "reports/report_pages.h"

namespace qelto::cli {
namespace {

struct ReportCommandOptions {
    UnitOptions unit;
    std::optional<std::string> in;
    std::string out;
    std::optional<std::string> xlsx;
    UsageRange range;
};

int runDocumentSettings(const ReportCommandOptions& options) {
    if (const int code = checkReportOutputs(options.out, options.xlsx, options.in);
        code != kExitOk) {
        return code;
    }
    CliContext ctx(options.unit.language);
    if (!openDocument(ctx, *options.in)) {
        return kExitFailure;
    }
    const reports::PageContext page = pageContext(ctx, options.unit.language);
    const std::string html =
        model::isDishwashView(ctx.doc.viewToShow())
            ? reports::renderDishwashSettings(ctx.doc.dishwash(), ctx.config, page)
            : reports::renderLaundrySettings(ctx.config, reports::REP_FROM_MEMORY, page);
    return savePage(ctx, html, options.out, options.xlsx);
}

int runUnitReport(const ReportCommandOptions& options, comms::ReportRequest request) {
    // A unit read whose page cannot be saved is wasted on the unit.
    if (const int code = checkReportOutputs(options.out, options.xlsx); code != kExitOk) {
        return code;
    }
    TerminalAnswers answers;
    if (const int code = settleLinkAndPin(options.unit, answers.pin); code != kExitOk) {
        return code;
    }
    answers.report = request;
    CliContext ctx(options.unit.language);
    TerminalPrompts prompts(answers, [&ctx](int id) { return ctx.text(id); });
    std::optional<comms::UnitReport> report;
    const auto result = runOnUnit(ctx, options.unit, prompts,
                                  [&report](comms::OperationContext& c) {
                                      comms::ReportOutcome outcome = comms::reportFromUnit(c);
                                      report = std::move(outcome.report);
                                      return outcome.result;
                                  },
                                  {"report"});
    if (!result) {
        return kExitFailure;
    }
    if (result->status == comms::OperationStatus::Cancelled) {
        return reportCancelled();
    }
    if (result->status != comms::OperationStatus::Ok || !report) {
        printError(fmt::format("nothing was written to {}", options.out));
        return kExitFailure;
    }
    return savePage(ctx, comms::renderUnitReport(*report, pageContext(ctx, options.unit.language)),
                    options.out, options.xlsx);
}

int runSettings(const ReportCommandOptions& options) {
    const bool hasLink = !options.unit.port.empty() || options.unit.usb || options.unit.unit;
    if (options.in && hasLink) {
        printError("give either --in FILE or a unit (--port, --usb or --unit), not both");
        return kExitUsage;
    }
    if (options.in) {
        return runDocumentSettings(options);
    }
    comms::ReportRequest request;
    request.resultCode = reports::kReadSettings;
    return runUnitReport(options, request);
}

int runUsage(const ReportCommandOptions& options) {
    std::string error;
    const auto request = usageRequest(options.range, localNow().today, &error);
    if (!request) {
        printError(error);
        return kExitUsage;
    }
    return runUnitReport(options, *request);
}

void addOutputOptions(CLI::App& command, ReportCommandOptions& options) {
    command.add_option("--out", options.out, "The HTML page to write")->required();
    command.add_option("--xlsx", options.xlsx,
                       "Also fill a copy of the spreadsheet template with the page's values");
}

}  // namespace

void addReportCommand(CLI::App& app, int& exitCode) {
    CLI::App* report = app.add_subcommand("report", "Write a settings or usage report");
    report->require_subcommand(1);

    auto settings = std::make_shared<ReportCommandOptions>();
    CLI::App* settingsCmd = report->add_subcommand(
        "settings", "The settings report of a document file (--in) or of a unit");
    settingsCmd->add_option("--in", settings->in, "Document file to report on");
    addOutputOptions(*settingsCmd, *settings);
    addUnitOptions(*settingsCmd, settings->unit, false);
    settingsCmd->callback([settings, &exitCode] { exitCode = runSettings(*settings); });

    auto usage = std::make_shared<ReportCommandOptions>();
    CLI::App* usageCmd = report->add_subcommand(
        "usage", "The usage report of a unit: its totals, or its log over a date range");
    addOutputOptions(*usageCmd, *usage);
    usageCmd->add_option("--from", usage->range.from, "First day of the range (YYYY-MM-DD)");
    usageCmd->add_option("--to", usage->range.to, "Last day of the range (YYYY-MM-DD)");
    usageCmd->add_option("--shift", usage->range.shifts,
                         "A shift as HH:MM-HH:MM; give two or three");
    addUnitOptions(*usageCmd, usage->unit, false);
    usageCmd->callback([usage, &exitCode] { exitCode = runUsage(*usage); });
}

}  // namespace qelto::cli
