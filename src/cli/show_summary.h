// The readable summary that `qeltoctl show` prints without --json.
#pragma once

#include <string>

#include "cli/cli_context.h"

namespace qelto::cli {

std::string showSummary(const CliContext& ctx, const std::string& file, const std::string& tag);

}  // namespace qelto::cli
