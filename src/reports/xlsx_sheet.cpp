#include "reports/xlsx_sheet.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>

#include "reports/xlsx_xml.h"

namespace qelto::reports {
namespace {

std::uint32_t rowNumber(const pugi::xml_node& row) {
    const std::string_view text = row.attribute("r").value();
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc{} && end == text.data() + text.size() ? number : 0;
}

std::uint32_t columnNumber(const pugi::xml_node& cell) {
    const auto ref = parseCellName(cell.attribute("r").value());
    return ref ? ref->column : 0;
}

void setAttribute(pugi::xml_node node, const char* name, const std::string& value) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        attribute = node.append_attribute(name);
    }
    attribute.set_value(value.c_str());
}

pugi::xml_node nextElement(pugi::xml_node node, std::string_view name) {
    for (node = node.next_sibling(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_element && localName(node) == name) {
            return node;
        }
    }
    return {};
}

// Rows and cells may leave out their position and count on from the one before; spell it out, so
// that every later step can rely on it.
void numberRowsAndCells(pugi::xml_node sheetData) {
    std::uint32_t previousRow = 0;
    for (pugi::xml_node row = childElement(sheetData, "row"); row; row = nextElement(row, "row")) {
        if (rowNumber(row) == 0) {
            setAttribute(row, "r", std::to_string(previousRow + 1));
        }
        previousRow = rowNumber(row);
        std::uint32_t previousColumn = 0;
        for (pugi::xml_node cell = childElement(row, "c"); cell; cell = nextElement(cell, "c")) {
            if (columnNumber(cell) == 0) {
                setAttribute(cell, "r", cellName({previousRow, previousColumn + 1}));
            }
            previousColumn = columnNumber(cell);
        }
    }
}

void setCellValue(pugi::xml_node cell, const SheetCell& value) {
    while (cell.first_child()) {
        cell.remove_child(cell.first_child());
    }
    for (pugi::xml_attribute attribute = cell.first_attribute(); attribute;) {
        const pugi::xml_attribute next = attribute.next_attribute();
        if (std::string_view(attribute.name()) != "r") {
            cell.remove_attribute(attribute);
        }
        attribute = next;
    }
    if (value.style != 0) {
        setAttribute(cell, "s", std::to_string(value.style));
    }
    if (value.kind == CellKind::Number) {
        insertElement(cell, "v", {}).text().set(value.content.c_str());
        return;
    }
    if (value.kind == CellKind::Typed) {
        if (const auto number = numericCellText(value.content)) {
            insertElement(cell, "v", {}).text().set(number->c_str());
            return;
        }
    }
    const std::string text = cellText(value.content);
    if (text.empty()) {
        return;  // a cleared cell
    }
    setAttribute(cell, "t", "inlineStr");
    pugi::xml_node t = insertElement(insertElement(cell, "is", {}), "t", {});
    t.append_attribute("xml:space").set_value("preserve");
    t.text().set(text.c_str());
}

// The used range in the sheet's dimension element, when it has one.
void updateDimension(pugi::xml_node worksheet, pugi::xml_node sheetData) {
    pugi::xml_node dimension = childElement(worksheet, "dimension");
    if (!dimension) {
        return;
    }
    CellRef low{UINT32_MAX, UINT32_MAX};
    CellRef high{0, 0};
    for (pugi::xml_node row = childElement(sheetData, "row"); row; row = nextElement(row, "row")) {
        for (pugi::xml_node cell = childElement(row, "c"); cell; cell = nextElement(cell, "c")) {
            low = {std::min(low.row, rowNumber(row)), std::min(low.column, columnNumber(cell))};
            high = {std::max(high.row, rowNumber(row)), std::max(high.column, columnNumber(cell))};
        }
    }
    if (high.row == 0) {
        setAttribute(dimension, "ref", "A1");
    } else {
        setAttribute(dimension, "ref",
                     low == high ? cellName(low) : cellName(low) + ":" + cellName(high));
    }
}

}  // namespace

bool fillSheetCells(pugi::xml_document& sheet, const SheetCells& cells) {
    pugi::xml_node worksheet = childElement(sheet, "worksheet");
    pugi::xml_node sheetData = childElement(worksheet, "sheetData");
    if (!sheetData) {
        return false;
    }
    numberRowsAndCells(sheetData);
    pugi::xml_node row = childElement(sheetData, "row");
    pugi::xml_node cell;
    std::uint32_t currentRow = 0;
    for (const SheetCell& value : cells) {
        const CellRef& ref = value.ref;
        while (row && rowNumber(row) < ref.row) {
            row = nextElement(row, "row");
        }
        if (!row || rowNumber(row) != ref.row) {
            row = insertElement(sheetData, "row", row);
            setAttribute(row, "r", std::to_string(ref.row));
        }
        if (currentRow != ref.row) {
            currentRow = ref.row;
            cell = childElement(row, "c");
            // The column span a row declares is only a hint for loading; a stale one misleads.
            row.remove_attribute("spans");
        }
        while (cell && columnNumber(cell) < ref.column) {
            cell = nextElement(cell, "c");
        }
        if (!cell || columnNumber(cell) != ref.column) {
            cell = insertElement(row, "c", cell);
            setAttribute(cell, "r", cellName(ref));
        }
        setCellValue(cell, value);
    }
    updateDimension(worksheet, sheetData);
    return true;
}

bool dropCachedFormulaResults(pugi::xml_document& sheet) {
    pugi::xml_node sheetData = childElement(childElement(sheet, "worksheet"), "sheetData");
    bool dropped = false;
    for (pugi::xml_node row = childElement(sheetData, "row"); row; row = nextElement(row, "row")) {
        for (pugi::xml_node cell = childElement(row, "c"); cell; cell = nextElement(cell, "c")) {
            if (!childElement(cell, "f")) {
                continue;
            }
            // The type describes the cached result only; without the result it would mislead.
            while (pugi::xml_node value = childElement(cell, "v")) {
                cell.remove_child(value);
                dropped = true;
            }
            dropped = cell.remove_attribute("t") || dropped;
        }
    }
    return dropped;
}

}  // namespace qelto::reports
