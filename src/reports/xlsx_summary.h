// The template's Summary sheet, written by the export itself: the figures that matter most, as
// real values (numbers, text, dates and times with their formats) worked out from the cells the
// export fills into the data sheet. A viewer that never recalculates still shows every figure,
// and nothing on it depends on a formula's cached result.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "reports/xlsx_sheet.h"

namespace qelto::reports {

inline constexpr std::string_view kSummarySheetName = "Summary";

// The template's cell styles, by their index in styles.xml's cellXfs; the template script
// (scripts/make-report-template.py, STYLES) writes them in this order.
enum TemplateStyle : std::uint32_t {
    kStyleNormal = 0,
    kStyleBold = 1,
    kStyleDate = 2,      // a serial day as a date
    kStyleTime = 3,      // a day fraction as a time of day
    kStyleDuration = 4,  // a day fraction as hours past 24, minutes and seconds
    kStyleText = 5,      // text format, so an edit keeps a serial number as typed
    kStyleHeading = 6,   // bold and centred: a table's column names
};

// A data sheet cell as the export writes it: serial numbers are text even when they read as a
// number (a spreadsheet would show 123456789 as 1.23E+08); every other value as typed.
SheetCell dataSheetCell(CellRef ref, std::string content);

// The Summary's cells in row and column order, from the data sheet's cells (name to content) and
// the data sheet's name, which the closing note names.
SheetCells summaryCells(const std::map<std::string, std::string>& data,
                        std::string_view dataSheetName);

}  // namespace qelto::reports
