// The workbook part of a .xlsx file: which sheet lives in which part, and how the workbook tells a
// spreadsheet to recalculate when it opens.
#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace qelto::reports {

struct WorkbookSheet {
    std::string name;  // as shown on the sheet's tab
    std::string part;  // "xl/worksheets/sheet1.xml"; empty when it is not a worksheet (a chart)
};

// The workbook part named by the package relationships (normally "xl/workbook.xml").
std::string workbookPartFrom(const pugi::xml_document& packageRelationships);

// The sheets in tab order, each with its worksheet part found through the workbook's
// relationships.
std::vector<WorkbookSheet> listSheets(const pugi::xml_document& workbook,
                                      const pugi::xml_document& workbookRelationships,
                                      std::string_view workbookPart);

// Sheet names compare as the spreadsheet compares them: capitals and small letters alike.
const WorkbookSheet* findSheet(const std::vector<WorkbookSheet>& sheets, std::string_view name);

// Sets fullCalcOnLoad, so that the formulas of every sheet show the values just filled in.
void requestFullCalcOnLoad(pugi::xml_document& workbook);

// The calculation chain lists formula cells in the order last calculated; once cells change it
// is stale, and a spreadsheet rebuilds it. Returns the part it named (empty when there is none)
// after removing its relationship.
std::string dropCalcChainRelationship(pugi::xml_document& workbookRelationships,
                                      std::string_view workbookPart);

// Removes the content type entry of a part that is no longer in the archive.
void dropContentTypeOverride(pugi::xml_document& contentTypes, std::string_view part);

}  // namespace qelto::reports
