// qeltoctl read, write, verify and clock: the operations on a connected unit.
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

// Adds the unit subcommands to app. Each sets exitCode when it runs.
void addUnitCommands(CLI::App& app, int& exitCode);

}  // namespace qelto::cli
