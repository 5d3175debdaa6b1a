#include "reports/xlsx_export.h"

#include <algorithm>
#include <optional>
#include <pugixml.hpp>
#include <system_error>

#include "platform/atomic_file.h"
#include "reports/xlsx_archive.h"
#include "reports/xlsx_sheet.h"
#include "reports/xlsx_summary.h"
#include "reports/xlsx_workbook.h"
#include "reports/xlsx_xml.h"

namespace qelto::reports {

bool workbookExportInThisBuild() {
    return true;
}
namespace {

namespace fs = std::filesystem;

constexpr const char* kPackageRelationships = "_rels/.rels";
constexpr const char* kContentTypes = "[Content_Types].xml";
constexpr const char* kUsualWorkbookPart = "xl/workbook.xml";

ExportResult failure(int messageId, std::string reason) {
    ExportResult result;
    result.messageId = messageId;
    result.reason = std::move(reason);
    return result;
}

bool readXml(const XlsxArchive& archive, const std::string& part, pugi::xml_document& document,
             std::string& error) {
    const auto bytes = archive.read(part, error);
    if (!bytes) {
        return false;
    }
    if (!parseXmlPart(document, *bytes)) {
        error = "the workbook's part " + part + " is not readable XML";
        return false;
    }
    return true;
}

bool writeXml(XlsxArchive& archive, const std::string& part, const pugi::xml_document& document,
              std::string& error) {
    return archive.write(part, saveXmlPart(document), error);
}

SheetCells sortedCells(const std::map<std::string, std::string>& cells,
                       std::vector<std::string>& skipped) {
    SheetCells sorted;
    for (const auto& [name, content] : cells) {
        if (const auto ref = parseCellName(name)) {
            sorted.push_back(dataSheetCell(*ref, content));
        } else {
            skipped.push_back(name);
        }
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const SheetCell& a, const SheetCell& b) { return a.ref < b.ref; });
    return sorted;
}

// A stale calculation chain makes some spreadsheets report the file as damaged; it goes, with
// every reference to it.
bool dropCalcChain(XlsxArchive& archive, pugi::xml_document& relationships,
                   const std::string& workbookPart, bool& relationshipsChanged,
                   std::string& error) {
    const std::string part = dropCalcChainRelationship(relationships, workbookPart);
    if (part.empty()) {
        return true;
    }
    relationshipsChanged = true;
    pugi::xml_document contentTypes;
    if (!archive.remove(part, error) || !readXml(archive, kContentTypes, contentTypes, error)) {
        return false;
    }
    dropContentTypeOverride(contentTypes, part);
    return writeXml(archive, kContentTypes, contentTypes, error);
}

class WorkbookFiller {
  public:
    explicit WorkbookFiller(XlsxArchive& archive) : archive_(archive) {}

    ExportResult fill(std::string_view sheetName, const std::map<std::string, std::string>& cells) {
        std::string error;
        if (!locateWorkbook(error)) {
            return failure(kMsgWorkbookUnreadable, error);
        }
        const auto sheets = listSheets(workbook_, relationships_, workbookPart_);
        if (sheets.empty()) {
            return failure(kMsgWorkbookHasNoSheets, "the workbook has no sheets");
        }
        const WorkbookSheet* target = findSheet(sheets, sheetName);
        if (target == nullptr || target->part.empty()) {
            return failure(kMsgSheetMissing, "the workbook has no worksheet named \"" +
                                                 std::string(sheetName) + "\"");
        }
        ExportResult result;
        SheetCells sorted = sortedCells(cells, result.skippedCells);
        pugi::xml_document sheet;
        if (!readXml(archive_, target->part, sheet, error) || !fillSheetCells(sheet, sorted)) {
            return failure(kMsgSheetMissing, "the worksheet \"" + target->name +
                                                 "\" cannot be filled: " +
                                                 (error.empty() ? "it holds no cells" : error));
        }
        dropCachedFormulaResults(sheet);
        if (!writeXml(archive_, target->part, sheet, error) ||
            !writeSummary(sheets, *target, cells, error) ||
            !refreshOtherSheets(sheets, *target, error) || !requestRecalculation(error)) {
            return failure(kMsgWorkbookUnreadable, error);
        }
        result.ok = true;
        result.cellsWritten = sorted.size();
        return result;
    }

  private:
    bool locateWorkbook(std::string& error) {
        pugi::xml_document package;
        if (archive_.has(kPackageRelationships) &&
            readXml(archive_, kPackageRelationships, package, error)) {
            workbookPart_ = workbookPartFrom(package);
        }
        if (workbookPart_.empty()) {
            workbookPart_ = kUsualWorkbookPart;
        }
        relationshipsPart_ = relationshipsPart(workbookPart_);
        return readXml(archive_, workbookPart_, workbook_, error) &&
               readXml(archive_, relationshipsPart_, relationships_, error);
    }

    // The template's Summary gets its figures as values, so that no viewer needs to recalculate.
    bool writeSummary(const std::vector<WorkbookSheet>& sheets, const WorkbookSheet& filled,
                      const std::map<std::string, std::string>& cells, std::string& error) {
        const WorkbookSheet* summary = findSheet(sheets, kSummarySheetName);
        pugi::xml_document document;
        std::string ignored;
        if (summary == nullptr || summary->part.empty() || summary->part == filled.part ||
            !readXml(archive_, summary->part, document, ignored) ||
            !fillSheetCells(document, summaryCells(cells, filled.name))) {
            return true;  // a template without a summary of its own is filled all the same
        }
        return writeXml(archive_, summary->part, document, error);
    }

    // The other sheets' formulas read the filled one; their cached results are out of date.
    bool refreshOtherSheets(const std::vector<WorkbookSheet>& sheets, const WorkbookSheet& filled,
                            std::string& error) {
        for (const auto& sheet : sheets) {
            pugi::xml_document document;
            std::string ignored;
            if (sheet.part.empty() || sheet.part == filled.part ||
                !readXml(archive_, sheet.part, document, ignored)) {
                continue;  // a sheet we cannot read is left exactly as the template has it
            }
            if (dropCachedFormulaResults(document) &&
                !writeXml(archive_, sheet.part, document, error)) {
                return false;
            }
        }
        return true;
    }

    bool requestRecalculation(std::string& error) {
        requestFullCalcOnLoad(workbook_);
        bool relationshipsChanged = false;
        return writeXml(archive_, workbookPart_, workbook_, error) &&
               dropCalcChain(archive_, relationships_, workbookPart_, relationshipsChanged,
                             error) &&
               (!relationshipsChanged ||
                writeXml(archive_, relationshipsPart_, relationships_, error));
    }

    XlsxArchive& archive_;
    std::string workbookPart_;
    std::string relationshipsPart_;
    pugi::xml_document workbook_;
    pugi::xml_document relationships_;
};

// What went wrong with the target, without its name: every caller names the workbook itself.
std::string targetReason(const std::string& error, const fs::path& target) {
    const std::string named = "cannot write " + target.string() + ": ";
    return error.starts_with(named) ? error.substr(named.size()) : error;
}

}  // namespace

ExportResult exportWorkbook(const fs::path& templatePath, const fs::path& targetPath,
                            std::string_view sheetName,
                            const std::map<std::string, std::string>& cells) {
    std::error_code ec;
    if (fs::equivalent(templatePath, targetPath, ec)) {
        return failure(kMsgWorkbookUnreadable,
                       "the export cannot be saved over its own template " + templatePath.string());
    }
    // Checked first, so a target that can never be written costs no work and says so plainly.
    std::string error;
    if (!platform::canReplaceFile(targetPath, &error)) {
        return failure(kMsgWorkbookUnreadable, targetReason(error, targetPath));
    }
    std::string templateBytes;
    if (!platform::readWholeFile(templatePath, templateBytes, &error)) {
        return failure(kMsgWorkbookUnreadable, "cannot read the template: " + error);
    }
    auto archive = XlsxArchive::fromBytes(std::move(templateBytes), templatePath.string(), error);
    if (!archive) {
        return failure(kMsgWorkbookUnreadable, error);
    }
    ExportResult result = WorkbookFiller(*archive).fill(sheetName, cells);
    if (!result.ok) {
        return result;
    }
    const std::optional<std::string> bytes = archive->finish(error);
    if (!bytes || !platform::writeFileAtomically(targetPath, *bytes, &error)) {
        return failure(kMsgWorkbookUnreadable, targetReason(error, targetPath));
    }
    return result;
}

}  // namespace qelto::reports
