// `qeltoctl help [COMMAND...]`, and usage errors that name the word that was wrong and the
// nearest valid one, as git and curl do.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace qelto::cli {

void addHelpCommand(CLI::App& app, int& exitCode);

// Prints what was wrong with the command line and where to read more; returns the exit status.
int reportUsageError(CLI::App& app, const CLI::ParseError& error);

// The name closest to word (a few typing slips away, or one it starts), or "" when none is close.
std::string nearestName(std::string_view word, const std::vector<std::string>& names);

}  // namespace qelto::cli
