// The spreadsheet template is a file beside the program that anyone may replace with a workbook
// of their own, saved by any spreadsheet. Its workbook, relationships and sheet parts can hold any
// XML (or none); finding the sheet and filling it must end without touching memory it does not
// own, and what it writes back must still be XML that reads again.
// The input is the three parts separated by a line "--".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "reports/xlsx_sheet.h"
#include "reports/xlsx_workbook.h"
#include "reports/xlsx_xml.h"

namespace {

using namespace qelto::reports;

std::string takePart(std::string_view& input) {
    const std::size_t separator = input.find("\n--\n");
    std::string part(input.substr(0, separator));
    input = separator == std::string_view::npos ? std::string_view{} : input.substr(separator + 4);
    return part;
}

void mustReadAgain(const pugi::xml_document& document) {
    pugi::xml_document again;
    if (!parseXmlPart(again, saveXmlPart(document))) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string workbookBytes = takePart(input);
    const std::string relationshipBytes = takePart(input);
    const std::string sheetBytes = takePart(input);
    pugi::xml_document workbook;
    pugi::xml_document relationships;
    pugi::xml_document sheet;
    if (parseXmlPart(workbook, workbookBytes) && parseXmlPart(relationships, relationshipBytes)) {
        const auto sheets = listSheets(workbook, relationships, "xl/workbook.xml");
        findSheet(sheets, "Report");
        requestFullCalcOnLoad(workbook);
        dropCalcChainRelationship(relationships, "xl/workbook.xml");
        mustReadAgain(workbook);
        mustReadAgain(relationships);
    }
    if (parseXmlPart(sheet, sheetBytes)) {
        const SheetCells cells{
            {{1, 1}, "07\\12\\2026"}, {{4, 24}, "17"}, {{5, 24}, "=1+1 <&>"}, {{100, 1}, "a\x01"}};
        fillSheetCells(sheet, cells);
        dropCachedFormulaResults(sheet);
        mustReadAgain(sheet);
    }
    return 0;
}
