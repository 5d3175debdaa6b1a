// The unit history qeltoctl records into: platform::historyFile().
#pragma once

#include <memory>

#include "comms/history_recorder.h"

namespace qelto::cli {

// The recorder for a command on a unit. A history that cannot be opened is said once on stderr
// and the command goes on without it; so is one that fails later.
std::unique_ptr<comms::HistoryRecorder> openHistoryRecorder();

}  // namespace qelto::cli
