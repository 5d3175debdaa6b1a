#include "comms/batch_setup.h"

#include <fmt/format.h>
#include <fmt/printf.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace qelto::comms {
namespace {

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// The checks of OK, in the order the form has always made them: the size before the sales
// order, so an engineer who left both empty hears about the size first.
bool entriesAccepted(const BatchForm& form, BatchPrompts& prompts) {
    if (form.batchSize == 0) {
        prompts.warn("Batch size must be great than zero!", BatchField::BatchSize);
        return false;
    }
    if (form.salesOrder.empty()) {
        prompts.warn("Must enter a Sales Order No!", BatchField::SalesOrder);
        return false;
    }
    if (const std::string problem = jobNameProblem(form.salesOrder); !problem.empty()) {
        prompts.warn(problem, BatchField::SalesOrder);
        return false;
    }
    return true;
}

bool confirmed(const BatchForm& form, BatchPrompts& prompts, const BatchEnvironment& environment) {
    const std::string question = fmt::sprintf(
        "Batch Size:=%d\nSalesOrderNo:=%s\nLogging Path:=%s\n\nAre these Settings Correct?",
        form.batchSize, form.salesOrder, form.logDirectory);
    if (!prompts.askYesNo({question, {}})) {
        return false;
    }
    // Only this year's folder counts: a job number may come round again in a later year.
    const std::string logDirectory =
        logDirectoryInUse(form.logDirectory, environment.programFolder);
    const std::string existing =
        jobFilePath(logDirectory, yearText(environment.clock()), form.salesOrder);
    if (fileExists(existing)) {
        return prompts.askYesNo(
            {fmt::sprintf("%s\nReuse this Internal Job No?", form.salesOrder), "Duplicate Name"});
    }
    return true;
}

}  // namespace

BatchForm loadBatchForm(const platform::Settings& settings) {
    BatchForm form;
    form.salesOrder = settings.batchName;
    form.batchSize = settings.batchSize;
    form.batchCounter = settings.batchCounter;
    form.logDirectory = settings.logDirectory;
    return form;
}

bool setupStartsNewBatch(const BatchForm& form, const platform::Settings& stored) {
    if (form.counterReset || stored.batchCounter == 0) {
        return false;
    }
    return stored.batchCounter >= stored.batchSize || form.salesOrder != stored.batchName ||
           form.batchSize != stored.batchSize;
}

std::string newBatchNotice(const platform::Settings& stored) {
    return fmt::format(
        "batch {} stands at {} of {} units written: this setup starts a new batch, counted from "
        "0, which needs the batch password",
        stored.batchName, stored.batchCounter, stored.batchSize);
}

SetupResult acceptBatchSetup(const BatchForm& form, BatchPrompts& prompts,
                             const BatchEnvironment& environment,
                             const platform::SettingsStore& store, model::CProgData& record) {
    if (!entriesAccepted(form, prompts)) {
        return SetupResult::Stay;
    }
    if (const platform::Settings stored = store.load(); setupStartsNewBatch(form, stored)) {
        prompts.warn(newBatchNotice(stored), BatchField::SalesOrder);
        return SetupResult::Stay;
    }
    if (!confirmed(form, prompts, environment)) {
        return SetupResult::Stay;
    }
    // Loaded afresh, so the keys this form does not own keep what others stored meanwhile.
    platform::Settings settings = store.load();
    // Units of another job never count towards this one.
    const bool counterReset = form.counterReset || settings.batchName != form.salesOrder;
    settings.batchSize = form.batchSize;
    settings.batchName = form.salesOrder;
    settings.logDirectory = form.logDirectory;
    if (counterReset) {
        settings.batchCounter = 0;
    }
    std::string error;
    if (!store.save(settings, &error)) {
        prompts.messageText(fmt::format("The batch settings were not stored: {}", error),
                            MessageIcon::Error);
        return SetupResult::Stay;
    }
    record.batchSize = form.batchSize;
    record.batchJobName = form.salesOrder;
    if (counterReset) {
        record.batchCounter = 0;
    }
    return SetupResult::Stored;
}

bool quitBatchSetup(BatchPrompts& prompts) {
    return prompts.askOkCancel({"OK to quit Batch Setup?", {}});
}

bool batchPasswordMatches(std::string_view typed) {
    return std::ranges::equal(typed, kBatchPassword, [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

void startNewBatch(BatchForm& form, model::CProgData& record) {
    form.batchCounter = 0;
    form.batchSize = 0;
    form.counterReset = true;
    record.batchCounter = 0;
    record.batchSize = 0;
}

bool storeNewBatch(const platform::SettingsStore& store, model::CProgData& record,
                   std::string* error) {
    platform::Settings settings = store.load();
    settings.batchCounter = 0;
    settings.batchSize = 0;
    if (!store.save(settings, error)) {
        return false;
    }
    record.batchCounter = 0;
    record.batchSize = 0;
    return true;
}

bool acceptUserName(std::string_view name) {
    return !name.empty();
}

}  // namespace qelto::comms
