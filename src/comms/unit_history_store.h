// The unit history as the front ends see it: the interface and its types from logs/, and the one
// way to open the history file, so that qeltoctl and the window never include logs/ themselves.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "logs/unit_history.h"

namespace qelto::comms {

using logs::HistoryEntry;
using logs::HistoryQuery;
using logs::HistoryResult;
using logs::historyResultFromName;
using logs::historyResultName;
using logs::UnitHistory;

// Opens the history at file (platform::historyFile() for the user's own). nullptr, with one
// sentence naming the file, the reason and what to do in *warning, when it cannot be used; a
// history that was damaged and started anew is returned with *warning saying where the old one
// went. Never throws.
// False in a build without the history (the Windows build has no SQLite): openUnitHistory then
// always fails, saying so.
bool unitHistoryInThisBuild();

std::unique_ptr<UnitHistory> openUnitHistory(const std::filesystem::path& file,
                                             std::string* warning);

}  // namespace qelto::comms
