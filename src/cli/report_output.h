// What every qeltoctl command that draws a report page shares: the moment and the units the page
// is drawn in, and saving the page with its optional workbook.
#pragma once

#include <optional>
#include <string>

#include "cli/cli_context.h"
#include "reports/report_options_form.h"
#include "reports/report_pages.h"

namespace qelto::cli {

struct LocalNow {
    reports::PageMoment moment;
    reports::CalendarDate today;
};

LocalNow localNow();

// The catalog, the units (American English prints fluid ounces and month-first dates) and now.
// languageOverride, when nonzero, stands for the "Language" setting.
reports::PageContext pageContext(const CliContext& ctx, int languageOverride);

// The page and workbook of a report, checked before a document is read or a unit is touched:
// the page and the workbook are two files, neither is the document the page is drawn from (in),
// and both can be written. Returns kExitOk, or with the reason on stderr kExitUsage for names that
// clash and kExitFailure for a file that cannot be written.
int checkReportOutputs(const std::string& out, const std::optional<std::string>& xlsx,
                       const std::optional<std::string>& in = std::nullopt);

// Writes the page atomically, then the workbook when one was asked for; says on stderr what
// failed. Returns the exit status.
int savePage(const CliContext& ctx, const std::string& page, const std::string& out,
             const std::optional<std::string>& xlsx);

}  // namespace qelto::cli
