#include "cli/report_output.h"

#include <fmt/format.h>

#include <ctime>

#include "cli/document_io.h"
#include "cli/exit_codes.h"
#include "cli/report_workbook.h"
#include "platform/atomic_file.h"
#include "platform/calendar_time.h"
#include "reports/xlsx_export.h"

namespace qelto::cli {

LocalNow localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    platform::localTime(now, local);
    LocalNow result;
    result.moment = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec};
    result.today = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    return result;
}

reports::PageContext pageContext(const CliContext& ctx, int languageOverride) {
    const int language = languageOverride != 0 ? languageOverride : ctx.settings.language;
    reports::PageContext page;
    page.text = [&ctx](int id) { return ctx.text(id); };
    page.usUnits = language == platform::kAmericanEnglish;
    page.now = localNow().moment;
    return page;
}

int checkReportOutputs(const std::string& out, const std::optional<std::string>& xlsx,
                       const std::optional<std::string>& in) {
    if (xlsx && !reports::workbookExportInThisBuild()) {
        printError(
            "--xlsx: the workbook export is not part of this build; write the page with "
            "--out and open it in a browser or a spreadsheet program");
        return kExitUsage;
    }
    if (in && isSameFile(out, *in)) {
        printError(
            fmt::format("--out {} is the document the report is drawn from; give the page "
                        "another name",
                        out));
        return kExitUsage;
    }
    if (xlsx && in && isSameFile(*xlsx, *in)) {
        printError(
            fmt::format("--xlsx {} is the document the report is drawn from; give the "
                        "workbook another name",
                        *xlsx));
        return kExitUsage;
    }
    if (xlsx && isSameFile(out, *xlsx)) {
        printError(
            fmt::format("--out and --xlsx both name {}; give the page and the workbook "
                        "different names",
                        out));
        return kExitUsage;
    }
    return canSaveInto(out) && (!xlsx || canSaveInto(*xlsx)) ? kExitOk : kExitFailure;
}

// The page first, then the workbook: a workbook without its page would be a report nobody can
// check against.
int savePage(const CliContext& ctx, const std::string& page, const std::string& out,
             const std::optional<std::string>& xlsx) {
    std::string error;
    if (!platform::writeFileAtomically(out, page, &error)) {
        printError(error);
        return kExitFailure;
    }
    if (xlsx && !exportPageToWorkbook(ctx, page, *xlsx)) {
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace qelto::cli
