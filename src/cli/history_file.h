// The unit history qeltoctl records into: platform::historyFile().
#pragma once

#include <memory>

#include "comms/history_recorder.h"
#include "comms/unit_history_store.h"

namespace qelto::cli {

// The recorder for a command on a unit. A history that cannot be opened is said once on stderr
// and the command goes on without it; so is one that fails later.
std::unique_ptr<comms::HistoryRecorder> openHistoryRecorder();

// The history for the history commands; nullptr with the reason on stderr. One that was damaged
// and started anew is still one to read from, after the warning.
std::unique_ptr<comms::UnitHistory> openHistoryToRead();

}  // namespace qelto::cli
