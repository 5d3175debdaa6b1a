#include "cli/batch_commands.h"

#include <fmt/format.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "cli/batch_terminal.h"
#include "cli/batch_write.h"
#include "cli/cli_context.h"
#include "cli/exit_codes.h"
#include "comms/batch_progress.h"
#include "comms/batch_setup.h"
#include "platform/settings_store.h"

namespace qelto::cli {
namespace {

struct SetupOptions {
    std::optional<std::string> job;
    std::optional<std::uint32_t> size;
    std::optional<std::string> logDir;
    std::optional<std::string> password;
    bool yes = false;
};

struct NewOptions {
    std::optional<std::string> password;
};

void printJobFile(const platform::Settings& settings) {
    const comms::BatchEnvironment environment = comms::realBatchEnvironment();
    std::printf("log file: %s\n", settings.batchName.empty()
                                      ? "(no job set up)"
                                      : comms::batchJobFile(settings, environment).c_str());
}

// The batch password, from the command line or typed at the terminal: kExitOk when it is right.
int checkBatchPassword(const std::optional<std::string>& given) {
    std::optional<std::string> password = given;
    if (!password) {
        password = askLineAtTerminal("Batch password: ", false);
        if (!password) {
            printError(
                "give the batch password with --password: standard input is not a terminal to "
                "ask on");
            return kExitUsage;
        }
    }
    if (!comms::batchPasswordMatches(*password)) {
        printError("wrong batch password; the batch was left as it was");
        return kExitFailure;
    }
    return kExitOk;
}

int runSetup(const SetupOptions& options) {
    const platform::SettingsStore store;
    // What is not given keeps what the settings hold, as the form opens with them.
    comms::BatchForm form = comms::loadBatchForm(store.load());
    form.salesOrder = options.job.value_or(form.salesOrder);
    form.batchSize = options.size.value_or(form.batchSize);
    form.logDirectory = options.logDir.value_or(form.logDirectory);
    if (const platform::Settings stored = store.load(); comms::setupStartsNewBatch(form, stored)) {
        printNote(comms::newBatchNotice(stored));
        if (const int code = checkBatchPassword(options.password); code != kExitOk) {
            return code;
        }
        form.counterReset = true;
    }

    TerminalBatchPrompts prompts(options.yes);
    model::CProgData record;
    const comms::SetupResult result =
        comms::acceptBatchSetup(form, prompts, comms::realBatchEnvironment(), store, record);
    if (result != comms::SetupResult::Stored) {
        if (prompts.unanswered()) {
            printError(
                "the batch setup asks a question that nobody can answer here: give --yes, or "
                "run it on a terminal");
            return kExitUsage;
        }
        if (!prompts.refused()) {
            printError("the batch setup was not stored");
        }
        return kExitFailure;
    }
    const platform::Settings stored = store.load();
    std::printf("batch set up: job %s, size %u, counter %u\n", stored.batchName.c_str(),
                stored.batchSize, stored.batchCounter);
    printJobFile(stored);
    if (!stored.logDirectory.empty() && stored.logDirectory.back() != '/') {
        printNote(fmt::format(
            "the log directory is used exactly as given, so the year folder sits beside it, "
            "not in it; end it with '/' to put job files inside {}",
            stored.logDirectory));
    }
    if (stored.batchCounter >= stored.batchSize) {
        printNote(fmt::format(
            "the counter already stands at {}: start a new batch (qeltoctl batch new) before "
            "writing units",
            stored.batchCounter));
    }
    return kExitOk;
}

int runNew(const NewOptions& options) {
    if (const int code = checkBatchPassword(options.password); code != kExitOk) {
        return code;
    }
    const platform::SettingsStore store;
    model::CProgData record;
    std::string error;
    if (!comms::storeNewBatch(store, record, &error)) {
        printError(fmt::format("the new batch was not stored: {}", error));
        return kExitFailure;
    }
    std::printf(
        "new batch started: counter and size are 0; set it up with qeltoctl batch setup --job "
        "NAME --size N\n");
    return kExitOk;
}

int runStatus(bool json) {
    const platform::Settings settings = platform::SettingsStore().load();
    const std::string refusal = comms::batchWriteRefusal(settings);
    if (json) {
        nlohmann::ordered_json out;
        out["job"] = settings.batchName;
        out["size"] = settings.batchSize;
        out["counter"] = settings.batchCounter;
        out["logFile"] = settings.batchName.empty() ? nlohmann::ordered_json(nullptr)
                                                    : nlohmann::ordered_json(comms::batchJobFile(
                                                          settings, comms::realBatchEnvironment()));
        out["open"] = refusal.empty();
        out["state"] = refusal.empty() ? std::string("open") : refusal;
        std::printf("%s\n", out.dump().c_str());
        return kExitOk;
    }
    std::printf("job: %s\nsize: %u\ncounter: %u\n", settings.batchName.c_str(), settings.batchSize,
                settings.batchCounter);
    printJobFile(settings);
    std::printf("state: %s\n", refusal.empty() ? "open" : refusal.c_str());
    return kExitOk;
}

}  // namespace

void addBatchCommands(CLI::App& app, int& exitCode) {
    CLI::App* batch = app.add_subcommand(
        "batch", "Program a batch of identical units for one order, each logged in its job file");
    batch->require_subcommand(1);

    auto setup = std::make_shared<SetupOptions>();
    CLI::App* setupCmd =
        batch->add_subcommand("setup", "Set the job name, batch size and log directory");
    setupCmd->add_option("--job", setup->job, "Sales order number (the job name)");
    setupCmd->add_option("--size", setup->size, "Number of units in the batch");
    setupCmd->add_option("--log-dir", setup->logDir,
                         "Log directory, used exactly as given (end it with '/'); empty: the "
                         "program's folder");
    setupCmd->add_option("--password", setup->password,
                         "The batch password, when the setup starts a new batch (asked on the "
                         "terminal when absent)");
    setupCmd->add_flag("--yes", setup->yes,
                       "Answer yes to the confirmation and to reusing an existing job");
    setupCmd->callback([setup, &exitCode] { exitCode = runSetup(*setup); });

    auto fresh = std::make_shared<NewOptions>();
    CLI::App* newCmd =
        batch->add_subcommand("new", "Start a new batch: counter and size back to 0");
    newCmd->add_option("--password", fresh->password,
                       "The batch password (asked on the terminal when absent)");
    newCmd->callback([fresh, &exitCode] { exitCode = runNew(*fresh); });

    CLI::App* statusCmd =
        batch->add_subcommand("status", "Show the job, size, counter and log file of the batch");
    auto statusJson = std::make_shared<bool>(false);
    statusCmd->add_flag("--json", *statusJson,
                        "Print one JSON object: job, size, counter, logFile, open, state");
    statusCmd->callback([statusJson, &exitCode] { exitCode = runStatus(*statusJson); });

    addBatchWriteCommand(*batch, exitCode);
}

}  // namespace qelto::cli
