#include "cli/batch_write.h"

#include <fmt/format.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/batch_terminal.h"
#include "cli/cli_context.h"
#include "cli/document_io.h"
#include "cli/exit_codes.h"
#include "cli/terminal_prompts.h"
#include "cli/unit_options.h"
#include "cli/unit_run.h"
#include "comms/batch_log.h"
#include "comms/batch_progress.h"
#include "comms/batch_setup.h"
#include "comms/batch_unit_write.h"
#include "comms/differences.h"
#include "comms/operation_driver.h"
#include "platform/settings_store.h"

namespace qelto::cli {
namespace {

using comms::OperationResult;

struct BatchWriteOptions {
    UnitOptions unit;
    std::string file;
    bool verify = false;
    bool resetCounters = false;
    std::optional<std::string> user;
};

// The log-in of the batch commands: every line of the job file says who wrote the unit.
int logIn(const std::optional<std::string>& given, std::string& user) {
    std::optional<std::string> name = given;
    if (!name) {
        name = askLineAtTerminal("User name: ", true);
        if (!name) {
            printError(
                "give the user name with --user: standard input is not a terminal to ask on");
            return kExitUsage;
        }
    }
    if (!comms::acceptUserName(*name)) {
        printError("the user name cannot be empty: it goes into every line of the job file");
        return kExitUsage;
    }
    user = *name;
    return kExitOk;
}

void printDifferences(const OperationResult& result) {
    for (const comms::Difference& difference : result.differences) {
        std::fputs((comms::describe(difference) + "\n").c_str(), stdout);
    }
    std::fflush(stdout);
}

int runBatchWrite(const BatchWriteOptions& options) {
    if (const std::string error = linkUsageError(options.unit); !error.empty()) {
        printError(error);
        return kExitUsage;
    }
    const platform::SettingsStore store;
    if (const std::string refusal = comms::batchWriteRefusal(store.load()); !refusal.empty()) {
        printError(refusal + " (qeltoctl batch new, then qeltoctl batch setup)");
        return kExitFailure;
    }
    std::string user;
    if (const int code = logIn(options.user, user); code != kExitOk) {
        return code;
    }
    TerminalAnswers answers;
    answers.options = comms::batchWriteOptions();
    answers.verifyAfterWrite = options.verify;
    if (const int code = settleLinkAndPin(options.unit, answers.pin); code != kExitOk) {
        return code;
    }

    CliContext ctx(options.unit.language);
    const std::string job = ctx.settings.batchName;
    const comms::BatchEnvironment environment = comms::realBatchEnvironment();
    const std::string path = comms::batchJobFile(ctx.settings, environment);
    std::string error;
    // Made before the unit is touched: a unit written without its line would be a unit the
    // order's records do not know.
    if (!comms::JobFile::open(path, &error)) {
        printError(error + "; choose a log directory with qeltoctl batch setup --log-dir DIR/");
        return kExitFailure;
    }
    if (!openDocument(ctx, options.file)) {
        return kExitFailure;
    }

    TerminalPrompts prompts(answers, [&ctx](int id) { return ctx.text(id); });
    const comms::BatchUnitRequest request{
        job, path, user, options.verify, environment, options.resetCounters};
    const comms::BatchUnitReport report =
        comms::writeBatchUnit(request, store, [&](const comms::BatchOperation& operation) {
            // A batch programs new units: there is nothing on them to back up.
            return runOnUnit(ctx, options.unit, prompts, operation,
                             {"batch-write", comms::HistoryRecording::Snapshot::Always});
        });
    if (!report.result) {
        printError(fmt::format("no unit was written; nothing was added to {}", path));
        return kExitFailure;
    }
    printDifferences(*report.result);

    const std::string& outcome = report.outcome;
    const comms::BatchProgress& progress = report.progress;
    const comms::UnitIdentity& unit = report.unit;
    if (!report.recorded) {
        printError(fmt::format(
            "unit {:09} ended as \"{}\", but the batch did not record it: {}; add its line to "
            "the job file by hand and check the counter with qeltoctl batch status",
            unit.serial, outcome, report.error));
        return kExitFailure;
    }
    if (outcome != comms::kBatchResultOk) {
        printError(fmt::format(
            "unit {:09} was not written as it should be ({}); logged in {}; the batch counter "
            "stays at {} of {}",
            unit.serial, outcome, path, progress.counter, progress.size));
        return kExitFailure;
    }
    // A unit written ok passed its calibration check, so a reset asked for was sent and answered.
    const char* cleared = options.resetCounters ? " and its counters cleared" : "";
    if (report.countedBefore) {
        std::printf(
            "batch %s: unit %09u written again%s; this batch counted it before, so the counter "
            "stays at %u of %u; logged in %s\n",
            job.c_str(), unit.serial, cleared, progress.counter, progress.size, path.c_str());
        return kExitOk;
    }
    std::printf("batch %s: unit %09u written%s, %u of %u; logged in %s\n", job.c_str(), unit.serial,
                cleared, progress.counter, progress.size, path.c_str());
    if (progress.complete()) {
        printNote(
            fmt::format("batch {} is complete; start the next one with qeltoctl batch new", job));
    }
    return kExitOk;
}

}  // namespace

void addBatchWriteCommand(CLI::App& batch, int& exitCode) {
    auto options = std::make_shared<BatchWriteOptions>();
    CLI::App* command = batch.add_subcommand(
        "write",
        "Write a document file into one unit of the batch (every group of settings but the "
        "serial number) and log it in the job file");
    command->add_option("FILE", options->file, "Document file to write from")->required();
    command->add_flag("--verify", options->verify,
                      "Verify the unit against the document after it; only a verified unit counts");
    command->add_flag("--reset-counters", options->resetCounters,
                      "Clear the unit's counters once its calibration check has passed, so a new "
                      "unit leaves with no history");
    command->add_option(
        "--user", options->user,
        "Who writes the unit, for the job file (asked on the terminal when absent)");
    addUnitOptions(*command, options->unit, false);
    command->callback([options, &exitCode] { exitCode = runBatchWrite(*options); });
}

}  // namespace qelto::cli
