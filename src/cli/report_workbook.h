// The spreadsheet of a report: a copy of the template with the page's cell tags filled in.
#pragma once

#include <string>

#include "cli/cli_context.h"

namespace qelto::cli {

// Copies the template to xlsxPath and fills its data sheet with the page's values. False, with
// what failed and what to do on stderr, when the workbook could not be made.
bool exportPageToWorkbook(const CliContext& ctx, const std::string& page,
                          const std::string& xlsxPath);

}  // namespace qelto::cli
