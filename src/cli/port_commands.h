// qeltoctl ports: the serial ports of this machine.
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

void addPortCommands(CLI::App& app, int& exitCode);

}  // namespace qelto::cli
