// The invisible cell tags a page carries for the spreadsheet export: <EXCEL CELL="B80"
// CONTENT="..."></EXCEL>, an empty element, so the page's own elements stay side by side. The
// form is written here and not taken from a language catalog, so no translation can change what
// the export reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qelto::reports {

// A cell name: column letters and a decimal row number.
std::string cellName(std::string_view column, std::uint32_t row);

// The column of a laundry program's steps and usage: D for program 1 ... W for program 20, X for
// all programs.
std::string programColumn(std::size_t index);

// The cell row of a program step or usage figure: 60 per trigger, 6 per pump, k the field.
std::uint32_t stepRow(std::size_t trigger, std::size_t pump, std::size_t k);

std::string cellTag(std::string_view cell, std::uint32_t number);
// content is UTF-8 text and is escaped here.
std::string cellTag(std::string_view cell, std::string_view content);
// Two decimals ("%.2f"), and two decimals in a field of six ("%6.2f", blanks inside the quotes).
std::string cellTagDecimal(std::string_view cell, double value);
std::string cellTagDecimalWide(std::string_view cell, double value);

}  // namespace qelto::reports
