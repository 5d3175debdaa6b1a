// qeltoctl scan: the units reachable from this machine, one line each as the unit list shows
// them, or as JSON for scripts.
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

void addScanCommand(CLI::App& app, int& exitCode);

}  // namespace qelto::cli
