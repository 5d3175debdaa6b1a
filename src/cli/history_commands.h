// qeltoctl history: what Qelto did to each unit, from the unit history of this user (or the file
// $QELTO_HISTORY names), and the configurations it read from and wrote to them.
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

// Adds `history` (the list), `history show` and `history diff`.
void addHistoryCommands(CLI::App& app, int& exitCode);

}  // namespace qelto::cli
