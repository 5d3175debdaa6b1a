// The batch setup form behind its window: what OK checks and asks, in the order engineers know
// it, and what it stores; the quit question; starting a new batch; the user log-in that opens
// the batch commands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "comms/batch_paths.h"
#include "comms/batch_prompts.h"
#include "model/prog_data.h"
#include "platform/settings_store.h"

namespace qelto::comms {

inline constexpr std::string_view kBatchPassword = "qvz";

struct BatchForm {
    std::string salesOrder;  // the job name
    // A front end whose size field is left empty keeps the size the form was loaded with.
    std::uint32_t batchSize = 0;
    std::uint32_t batchCounter = 0;  // shown, never edited
    std::string logDirectory;        // as typed; empty means the program folder
    // A new batch was started in this form, so OK stores its zero counter as well.
    bool counterReset = false;
};

BatchForm loadBatchForm(const platform::Settings& settings);

// Whether storing the form starts a new batch over one that has counted units: a complete
// batch, or another job or size for a batch under way. That needs the batch password, as a new
// batch does, and the counter starts again at 0; the front end asks and sets counterReset.
bool setupStartsNewBatch(const BatchForm& form, const platform::Settings& stored);

// What the front ends say before they ask for the batch password of such a setup.
std::string newBatchNotice(const platform::Settings& stored);

enum class SetupResult {
    Stored,  // every check passed, the engineer confirmed, and the settings were written
    Stay,    // refused, declined or not stored; the prompts said why
};

// OK of the setup form. Nothing is stored until every check has passed and the engineer has
// confirmed. The duplicate test looks in the log directory the form is about to store. A form
// that would start a new batch without the password (setupStartsNewBatch) is refused; a job
// other than the stored one starts its counter at 0.
SetupResult acceptBatchSetup(const BatchForm& form, BatchPrompts& prompts,
                             const BatchEnvironment& environment,
                             const platform::SettingsStore& store, model::CProgData& record);

// Cancel of the setup form: true when the engineer confirms leaving it.
bool quitBatchSetup(BatchPrompts& prompts);

bool batchPasswordMatches(std::string_view typed);

// Empties the counter and the size of the form and of the configuration record; the front end
// has checked the password.
void startNewBatch(BatchForm& form, model::CProgData& record);

// Starts a new batch straight in the settings, for front ends without a setup form: counter and
// size become 0, so no unit is written until the next setup. False with error on a write failure.
bool storeNewBatch(const platform::SettingsStore& store, model::CProgData& record,
                   std::string* error);

// The log-in that opens the batch commands refuses an empty name: every line of a job file says
// who wrote the unit.
bool acceptUserName(std::string_view name);

}  // namespace qelto::comms
