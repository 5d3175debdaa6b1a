#include "reports/cell_tag.h"

#include <fmt/format.h>
#include <fmt/printf.h>

#include "reports/page_escape.h"

namespace qelto::reports {

namespace {

// Closed at once: a browser takes an unknown element that is never closed for the parent of
// everything after it, and a page of a thousand open tags nests that deep and breaks its tables
// when printed.
std::string tag(std::string_view cell, std::string_view escapedContent) {
    return fmt::format("<EXCEL CELL=\"{}\" CONTENT=\"{}\"></EXCEL>", escapeHtml(cell),
                       escapedContent);
}

}  // namespace

std::string cellName(std::string_view column, std::uint32_t row) {
    return fmt::format("{}{}", column, row);
}

std::string programColumn(std::size_t index) {
    return std::string(1, static_cast<char>('D' + index));
}

std::uint32_t stepRow(std::size_t trigger, std::size_t pump, std::size_t k) {
    return static_cast<std::uint32_t>(60 * trigger + 6 * pump + k + 1);
}

std::string cellTag(std::string_view cell, std::uint32_t number) {
    return tag(cell, fmt::format("{}", number));
}

std::string cellTag(std::string_view cell, std::string_view content) {
    return tag(cell, escapeHtml(content));
}

std::string cellTagDecimal(std::string_view cell, double value) {
    return tag(cell, fmt::sprintf("%.2f", value));
}

std::string cellTagDecimalWide(std::string_view cell, double value) {
    return tag(cell, fmt::sprintf("%6.2f", value));
}

}  // namespace qelto::reports
