// qeltoctl batch: set up a batch of identical units, start a new one, show how far it has come,
// and write its units one by one, each logged in the job file.
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

// Adds "batch" with its subcommands to app. Each sets exitCode when it runs.
void addBatchCommands(CLI::App& app, int& exitCode);

}  // namespace qelto::cli
