// A build without libzip and pugixml (the Windows build) has no workbook export.
#include "reports/xlsx_export.h"

namespace qelto::reports {

bool workbookExportInThisBuild() {
    return false;
}

ExportResult exportWorkbook(const std::filesystem::path&, const std::filesystem::path&,
                            std::string_view, const std::map<std::string, std::string>&) {
    ExportResult result;
    result.messageId = kMsgWorkbookUnreadable;
    result.reason = "the workbook export is not part of this build";
    return result;
}

}  // namespace qelto::reports
