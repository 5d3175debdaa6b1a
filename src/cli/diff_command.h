// qeltoctl diff: what separates two document files, field by field.
#pragma once

#include <CLI/CLI.hpp>

#include "model/qelto_doc.h"

namespace qelto::cli {

// Adds the diff subcommand to app. Like diff(1) it sets exitCode to 0 when the documents are the
// same and to 1 when they differ, so scripts can test for changes without parsing the output.
void addDiffCommand(CLI::App& app, int& exitCode);

// Prints what separates document a from document b, one line each or as one JSON array, the way
// diff does; kExitOk when they are the same, kExitFailure when they differ. `history diff` shows
// two snapshots of a unit with it.
int printDifferences(const model::CQeltoDoc& a, const model::CQeltoDoc& b, bool json);

}  // namespace qelto::cli
