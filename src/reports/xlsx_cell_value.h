// How a cell tag's text goes into a worksheet cell. Nothing a user typed may become a formula, so
// every value is either a plain number or an inline string; counts and volumes must still arrive
// as numbers a formula can add up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qelto::reports {

// A cell by its row and column, both from 1 (A1 is {1, 1}).
struct CellRef {
    std::uint32_t row = 0;
    std::uint32_t column = 0;
    auto operator<=>(const CellRef&) const = default;
};

// "B80" → {80, 2}. Column letters in capitals up to XFD and rows up to 1048576, the largest a
// worksheet has; anything else (lower case, "$", blanks, "R1C1") is not a cell name.
std::optional<CellRef> parseCellName(std::string_view name);

// {80, 2} → "B80".
std::string cellName(CellRef cell);

// The number text for a numeric cell: a canonical decimal (optional minus, no leading zero
// except a lone one before the point, optional fraction), blanks padded around it by a field
// width ignored, at most 15 digits so that the spreadsheet holds it exactly. Anything else is
// text: "007" stays a serial number with its zeros, "1e3" and "=SUM(A1)" stay as typed.
std::optional<std::string> numericCellText(std::string_view content);

// The text as a worksheet may hold it: UTF-8 (a page that is not valid UTF-8 is read as
// Latin-1, as units write their names), without the control characters XML cannot carry, and cut
// to the 32767 characters a cell holds.
std::string cellText(std::string_view content);

}  // namespace qelto::reports
