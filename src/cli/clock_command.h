// qeltoctl clock get|set: the unit's clock alone, read or set from the PC's local time.
#pragma once

#include <CLI/CLI.hpp>
#include <ctime>
#include <string>

namespace qelto::cli {

void addClockCommand(CLI::App& app, int& exitCode);

// The unit's clock text ("%H%M%S%d%m%Y") as "YYYY-MM-DD HH:MM:SS"; any other text as it came.
std::string readableUnitTime(const std::string& unitText);

}  // namespace qelto::cli
