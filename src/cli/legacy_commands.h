// qeltoctl legacy: read, write and the third command of older laundry units, their usage report,
// text dump and spare byte, and the settings read and verify of older dishwash units, over the
// legacy serial protocol.
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

// Adds the "legacy" subcommand to app. Each operation sets exitCode when it runs.
void addLegacyCommands(CLI::App& app, int& exitCode);

}  // namespace qelto::cli
