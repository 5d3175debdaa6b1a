// qeltoctl's pump calibration commands: reading and writing a unit's flows and speeds, a
// measuring run of one pump, and the resets of the unit's counters and memory.
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

// "calibration get|set", "pump run" and "reset washes|counters|memory".
void addCalibrationCommands(CLI::App& app, int& exitCode);

}  // namespace qelto::cli
