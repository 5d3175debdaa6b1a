// qeltoctl history restore: a snapshot of the unit history written back to its own unit.
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

// Adds `restore ID (--port DEV | --usb | --unit N) --pin PIN` to the history command.
void addHistoryRestore(CLI::App& history, int& exitCode);

}  // namespace qelto::cli
