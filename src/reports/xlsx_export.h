// Export of a report page's cell tags into a copy of the spreadsheet template. No spreadsheet
// program is driven: the copy's worksheet is filled inside the .xlsx file itself, and the
// template's Summary sheet is written from the same values (xlsx_summary.h). Formulas a user
// added to a template are recalculated by the spreadsheet that opens the copy.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qelto::reports {

// Texts of the language catalog that name an export failure.
inline constexpr int kMsgWorkbookHasNoSheets = 260;
inline constexpr int kMsgWorkbookUnreadable = 284;
inline constexpr int kMsgSheetMissing = 285;

struct ExportResult {
    bool ok = false;
    int messageId =
        0;  // on failure: kMsgWorkbookUnreadable, kMsgWorkbookHasNoSheets or kMsgSheetMissing
    std::string reason;  // on failure, in plain English for logs and the command line
    std::size_t cellsWritten = 0;
    std::vector<std::string> skippedCells;  // tag cell names that name no cell of a worksheet
};

// Fills a copy of the template's sheet named sheetName with the contents (numbers as numbers,
// everything else as text exactly as typed), writes its Summary sheet when it has one, asks
// every spreadsheet to recalculate on opening,
// and saves the finished workbook at the target as atomically as a document: writable even when
// the template is not, and only over a regular file. When any step fails nothing is written and
// a file already at the target stays as it was.
// False in a build without libzip and pugixml (the Windows build): exportWorkbook then always
// fails, saying so.
bool workbookExportInThisBuild();

ExportResult exportWorkbook(const std::filesystem::path& templatePath,
                            const std::filesystem::path& targetPath, std::string_view sheetName,
                            const std::map<std::string, std::string>& cells);

}  // namespace qelto::reports
