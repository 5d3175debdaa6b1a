#include "cli/history_restore.h"

#include <fmt/format.h>

#include <cstdint>
#include <memory>
#include <string>

#include "cli/cli_context.h"
#include "cli/exit_codes.h"
#include "cli/history_file.h"
#include "cli/terminal_prompts.h"
#include "cli/unit_options.h"
#include "cli/unit_run.h"
#include "comms/operation_driver.h"
#include "comms/unit_history_store.h"
#include "platform/user_paths.h"

namespace qelto::cli {
namespace {

struct RestoreOptions {
    UnitOptions unit;
    std::int64_t id = 0;
    bool verify = false;
    bool noBackup = false;
};

// The entry's snapshot in ctx.doc and its unit in serial; otherwise the exit status, the reason
// on stderr.
int loadSnapshot(CliContext& ctx, std::int64_t id, std::uint32_t& serial) {
    const auto history = openHistoryToRead();
    if (!history) {
        return kExitFailure;
    }
    std::string error;
    const auto entry = history->entry(id, &error);
    if (!entry) {
        printError(error.empty() ? fmt::format("the unit history has no entry {}; `qeltoctl "
                                               "history` lists them",
                                               id)
                                 : error);
        return error.empty() ? kExitNoSuchEntry : kExitFailure;
    }
    if (entry->snapshot.empty() || entry->serial == 0) {
        printError(
            fmt::format("entry {} ({}) keeps no settings of a unit to restore; restore a "
                        "read, backup or write",
                        id, entry->operation));
        return kExitNoSnapshot;
    }
    const auto opened = ctx.doc.loadFromBytes(entry->snapshot, fmt::format("history entry {}", id));
    if (!opened.ok()) {
        printError(opened.detail);
        return kExitFailure;
    }
    serial = entry->serial;
    return kExitOk;
}

int runRestore(const RestoreOptions& options) {
    TerminalAnswers answers;
    if (const int code = settleLinkAndPin(options.unit, answers.pin); code != kExitOk) {
        return code;
    }
    // Everything the snapshot holds goes back, its calibration included.
    answers.options = comms::allOptions();
    answers.options.bAppendComments = false;
    answers.calibrationChoice = comms::kChooseEditorCalibration;
    answers.verifyAfterWrite = options.verify;
    CliContext ctx(options.unit.language);
    std::uint32_t serial = 0;
    if (const int code = loadSnapshot(ctx, options.id, serial); code != kExitOk) {
        return code;
    }
    TerminalPrompts prompts(answers, [&ctx](int id) { return ctx.text(id); });
    const auto result = runOnUnit(
        ctx, options.unit, prompts,
        [](comms::OperationContext& c) {
            bool clockOnly = false;
            return comms::writeProgram(c, clockOnly);
        },
        {"restore", comms::HistoryRecording::Snapshot::Always,
         !options.noBackup && ctx.settings.historyBackup != 0},
        serial);
    if (!result) {
        return kExitFailure;
    }
    if (result->status == comms::OperationStatus::Cancelled) {
        return reportCancelled();
    }
    if (result->status != comms::OperationStatus::Ok ||
        (options.verify && result->verified != true)) {
        return kExitFailure;
    }
    printMessage(
        fmt::format("unit {:09} has the settings of history entry {} again", serial, options.id));
    return kExitOk;
}

}  // namespace

void addHistoryRestore(CLI::App& history, int& exitCode) {
    auto options = std::make_shared<RestoreOptions>();
    CLI::App* restore = history.add_subcommand(
        "restore", "Write the settings kept by a history entry back into its own unit");
    restore->add_option("ID", options->id, "The history entry (see `qeltoctl history`)")
        ->required();
    restore->add_flag("--verify", options->verify,
                      "Verify the unit against the restored settings afterwards");
    restore->add_flag("--no-backup", options->noBackup,
                      "Restore without first reading the unit into the unit history");
    addUnitOptions(*restore, options->unit, false);
    restore->callback([options, &exitCode] { exitCode = runRestore(*options); });
}

}  // namespace qelto::cli
