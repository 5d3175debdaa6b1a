// A report page may be one the user opened from anywhere and edited by hand, so the cell tags can
// hold anything: tags cut short, quotes that never close, attributes repeated, bytes that are not
// text. Collecting them must end without touching memory it does not own, and every value must
// reach a worksheet as a valid cell: a cell name that reads back the same, a number or XML text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "reports/report_tag_parser.h"
#include "reports/xlsx_cell_value.h"

namespace {

bool isXmlText(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    qelto::reports::CReportTagParser parser(page, "EXCEL", "CELL", "CONTENT");
    std::size_t visited = 0;
    for (const auto* cell = parser.first(); cell != nullptr; cell = parser.next()) {
        ++visited;
        if (const auto ref = qelto::reports::parseCellName(cell->first)) {
            if (qelto::reports::cellName(*ref) != cell->first) {
                std::abort();
            }
        }
        if (!qelto::reports::numericCellText(cell->second) &&
            !isXmlText(qelto::reports::cellText(cell->second))) {
            std::abort();
        }
    }
    if (visited != parser.cells().size()) {
        std::abort();
    }
    return 0;
}
