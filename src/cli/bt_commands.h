// qeltoctl bt scan / bt pair: the units a Bluetooth LE dongle on a serial port hears, and
// connecting the dongle to one of them. Once paired, the dongle passes bytes through and the unit
// is reached like a wired one (`--port DEV`, or `qeltoctl scan`).
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

void addBluetoothCommands(CLI::App& app, int& exitCode);

}  // namespace qelto::cli
