// qeltoctl report: the settings report of a document file, or the settings or usage report of a
// unit, written as an HTML page and, on request, into a copy of the spreadsheet template.
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

void addReportCommand(CLI::App& app, int& exitCode);

}  // namespace qelto::cli
