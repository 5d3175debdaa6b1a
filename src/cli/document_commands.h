// qeltoctl show, new, convert and diff: document files without a unit.
#pragma once

#include <CLI/CLI.hpp>

namespace qelto::cli {

// Adds the document subcommands to app. Each sets exitCode when it runs.
void addDocumentCommands(CLI::App& app, int& exitCode);

}  // namespace qelto::cli
