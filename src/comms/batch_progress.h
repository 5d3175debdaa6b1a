// How far a batch has come: whether another unit may be written, where its line goes, and the
// counter that moves on with every unit written.
#pragma once

#include <cstdint>
#include <string>

#include "comms/batch_log.h"
#include "comms/batch_paths.h"
#include "platform/settings_store.h"

namespace qelto::comms {

// Why no unit of the batch may be written now (none set up, a job name that cannot name its
// file, or every unit written); empty when one may.
std::string batchWriteRefusal(const platform::Settings& settings);

// The job file of the batch in the settings, in this year's folder.
std::string batchJobFile(const platform::Settings& settings, const BatchEnvironment& environment);

struct BatchProgress {
    std::uint32_t counter = 0;
    std::uint32_t size = 0;
    bool complete() const { return counter >= size; }
};

// Adds the unit's line to the job file and, for a unit written (result ok), advances
// "BatchCounter", both under the job file's lock so that every unit is counted exactly once.
// The counter is not advanced when the settings now name another job: the unit belongs to the
// job whose file has its line. Nor is it for a unit this batch counted already (countedBefore):
// a unit connected again is still one unit of the batch. A unit without a serial number (0)
// cannot be told apart, so it counts each time. False with error on any failure; progress is
// what the settings hold afterwards.
bool recordBatchUnit(JobFile& jobFile, const BatchUnitLine& line, const std::string& job,
                     const platform::SettingsStore& store, BatchProgress& progress,
                     bool& countedBefore, std::string* error);

}  // namespace qelto::comms
