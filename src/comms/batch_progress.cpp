#include "comms/batch_progress.h"

#include <fmt/format.h>

namespace qelto::comms {

std::string batchWriteRefusal(const platform::Settings& settings) {
    if (settings.batchName.empty() || settings.batchSize == 0) {
        return "no batch is set up: it needs a job name and a batch size";
    }
    if (const std::string problem = jobNameProblem(settings.batchName); !problem.empty()) {
        return problem;
    }
    if (settings.batchCounter >= settings.batchSize) {
        return fmt::format("batch {} is complete: {} of {} units written; start a new batch",
                           settings.batchName, settings.batchCounter, settings.batchSize);
    }
    return {};
}

std::string batchJobFile(const platform::Settings& settings, const BatchEnvironment& environment) {
    return jobFilePath(logDirectoryInUse(settings.logDirectory, environment.programFolder),
                       yearText(environment.clock()), settings.batchName);
}

bool recordBatchUnit(JobFile& jobFile, const BatchUnitLine& line, const std::string& job,
                     const platform::SettingsStore& store, BatchProgress& progress,
                     bool& countedBefore, std::string* error) {
    std::string lines;
    if (!jobFile.read(lines, error)) {
        return false;
    }
    if (!jobFile.append(batchLogLine(line), error)) {
        return false;
    }
    // Read again under the lock: another unit of the job may have been counted meanwhile.
    platform::Settings settings = store.load();
    progress = {settings.batchCounter, settings.batchSize};
    countedBefore = false;
    if (line.result != kBatchResultOk) {
        return true;
    }
    if (settings.batchName != job) {
        if (error != nullptr) {
            *error = fmt::format(
                "the batch was changed to job \"{}\" while this unit was written; its line is in "
                "{}, but no batch counter was advanced",
                settings.batchName, jobFile.path());
        }
        return false;
    }
    countedBefore = line.serial != 0 && batchCountedUnit(lines, line.serial, settings.batchCounter);
    if (countedBefore) {
        return true;
    }
    ++settings.batchCounter;
    if (!store.save(settings, error)) {
        return false;
    }
    progress.counter = settings.batchCounter;
    return true;
}

}  // namespace qelto::comms
