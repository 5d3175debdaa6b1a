// Filling cells of one worksheet part. The file format wants rows in row order and the cells of a
// row in column order, so new rows and cells go where they belong.
#pragma once

#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

#include "reports/xlsx_cell_value.h"

namespace qelto::reports {

using SheetCells = std::vector<std::pair<CellRef, std::string>>;

// Clears each cell (its formula and format too, as the spreadsheet's Clear does) and sets its
// value: a number when the text is one (numericCellText), otherwise an inline string, so a value
// never becomes a formula. The cells must be sorted by row, then column. Returns false when the
// part is not a worksheet with cell data.
bool fillSheetCells(pugi::xml_document& sheet, const SheetCells& cells);

// Removes the results a spreadsheet cached beside its formulas, so that nothing shows a value
// computed from the template's empty cells. Returns whether anything was removed.
bool dropCachedFormulaResults(pugi::xml_document& sheet);

}  // namespace qelto::reports
