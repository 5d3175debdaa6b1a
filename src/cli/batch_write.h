// qeltoctl batch write: one unit of the batch per call, through the same connection and write
// as qeltoctl write, with the unit's line added to the job file and the counter moved on.
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

// Adds "write" to the batch command. It sets exitCode when it runs.
void addBatchWriteCommand(CLI::App& batch, int& exitCode);

}  // namespace qelto::cli
