// Filling cells of one worksheet part. The file format wants rows in row order and the cells of a
// row in column order, so new rows and cells go where they belong.
#pragma once

#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "reports/xlsx_cell_value.h"

namespace qelto::reports {

// How a value goes into its cell. Typed: a number when the text is one (numericCellText),
// otherwise an inline string. Text: always an inline string ("123456789" stays a serial number).
// Number: content is already the number's text (a date's serial day, a time's day fraction).
enum class CellKind : std::uint8_t { Typed, Text, Number };

struct SheetCell {
    CellRef ref;
    std::string content;
    CellKind kind = CellKind::Typed;
    std::uint32_t style = 0;  // index into the workbook's cellXfs; 0 is the default
};

using SheetCells = std::vector<SheetCell>;

// Clears each cell (its formula and format too, as the spreadsheet's Clear does) and sets its
// value and style, so a value never becomes a formula. The cells must be sorted by row, then
// column. Returns false when the part is not a worksheet with cell data.
bool fillSheetCells(pugi::xml_document& sheet, const SheetCells& cells);

// Removes the results a spreadsheet cached beside its formulas, so that nothing shows a value
// computed from the template's empty cells. Returns whether anything was removed.
bool dropCachedFormulaResults(pugi::xml_document& sheet);

}  // namespace qelto::reports
