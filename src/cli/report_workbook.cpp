#include "cli/report_workbook.h"

#include <fmt/format.h>

#include "platform/user_paths.h"
#include "reports/report_tag_parser.h"
#include "reports/xlsx_export.h"

namespace qelto::cli {
namespace {

// The template's file name and its data sheet's name are texts of the catalog, so a translated
// template can ship beside its catalog.
inline constexpr int kTemplateFileName = 155;
inline constexpr int kDataSheetName = 274;

}  // namespace

bool exportPageToWorkbook(const CliContext& ctx, const std::string& page,
                          const std::string& xlsxPath) {
    const reports::CReportTagParser tags(page, "EXCEL", "CELL", "CONTENT");
    const auto templatePath = platform::dataDir() / ctx.text(kTemplateFileName);
    const reports::ExportResult result =
        reports::exportWorkbook(templatePath, xlsxPath, ctx.text(kDataSheetName), tags.cells());
    if (!result.ok) {
        printError(fmt::format("cannot write the workbook {}: {}", xlsxPath, result.reason));
        return false;
    }
    for (const std::string& cell : result.skippedCells) {
        printNote(fmt::format("the page's value for cell {} has no place in the workbook", cell));
    }
    return true;
}

}  // namespace qelto::cli
