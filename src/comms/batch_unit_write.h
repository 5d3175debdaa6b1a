// One unit of a batch, the same from qeltoctl and from the window: the write under the batch's
// fixed options, the unit's line in the job file with what the unit said about itself, and the
// counter moved on only for a unit that was written (and verified, when asked).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "comms/batch_log.h"
#include "comms/batch_paths.h"
#include "comms/batch_progress.h"
#include "comms/operation_driver.h"
#include "platform/settings_store.h"
#include "protocol/comms_data.h"

namespace qelto::comms {

// Every group of settings but the serial number: the units of a batch are identical except for
// their own serial numbers, which the job file must record, not overwrite with the document's.
Options batchWriteOptions();

// "V1.07" from the identity the unit gave at unlock; a garbled byte shows as '?'.
std::string unitVersionText(const protocol::UnitIdentity& unit);

// What the job file says about a unit: ok, failed, verify failed, not verified or cancelled.
std::string batchOutcome(const OperationResult& result, bool verify);

using BatchOperation = std::function<OperationResult(OperationContext&)>;
// Opens the link, unlocks the unit, runs the operation on the document and locks the unit
// again; nullopt when it could not start, so no unit was touched.
using RunBatchOperation = std::function<std::optional<OperationResult>(const BatchOperation&)>;

struct BatchUnitRequest {
    std::string job;      // the job the settings named when the write was asked for
    std::string jobFile;  // its job file, checked to open before the unit is touched
    std::string user;     // who logged in
    bool verify = false;  // only a unit verified after its write counts
    BatchEnvironment environment;
    // Clear the unit's counters once its calibration check has passed, so it leaves with no
    // history: only a batch write may, and only when the engineer asked for it.
    bool resetCounters = false;
};

struct BatchUnitReport {
    // nullopt: the operation never started and nothing was logged.
    std::optional<OperationResult> result;
    protocol::UnitIdentity unit;
    std::string outcome;
    BatchProgress progress;
    // The unit's line is in the job file and the counter is what it should be; when not,
    // error says why and the engineer must put the job file right by hand.
    bool recorded = false;
    std::string error;
    // This batch had counted the unit already, so the counter stayed where it was.
    bool countedBefore = false;

    bool counted() const { return recorded && outcome == kBatchResultOk && !countedBefore; }
};

// Writes one unit of the batch: the write options are the batch's own and the verify question
// is answered from request.verify, whatever the front end's prompts would say; every other
// question (calibration choice, PIN) still reaches the engineer.
BatchUnitReport writeBatchUnit(const BatchUnitRequest& request,
                               const platform::SettingsStore& store, const RunBatchOperation& run);

}  // namespace qelto::comms
