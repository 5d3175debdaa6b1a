// qeltoctl diff: what separates two document files, field by field.
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

// Adds the diff subcommand to app. Like diff(1) it sets exitCode to 0 when the documents are the
// same and to 1 when they differ, so scripts can test for changes without parsing the output.
void addDiffCommand(CLI::App& app, int& exitCode);

}  // namespace qelto::cli
