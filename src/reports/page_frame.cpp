#include "reports/page_frame.h"

#include <fmt/printf.h>

#include "model/unit_types.h"
#include "platform/text_encoding.h"
#include "reports/cell_tag.h"
#include "reports/page_escape.h"
#include "reports/report_format.h"

namespace qelto::reports {

std::string PageWriter::str(int id) const {
    if (!context_.text) {
        return "#" + std::to_string(id);
    }
    return context_.text(id);
}

void writePageHead(PageWriter& page, const PageHead& head) {
    page.text(2446);
    page.text(2524);
    page.line(cellTag("A3", head.settingsFlag));
    page.line(cellTag("A8", head.source));
    page.line(cellTag("A9", head.family));

    const PageMoment& now = page.now();
    const auto day = static_cast<unsigned>(now.day);
    const auto month = static_cast<unsigned>(now.month);
    const auto year = static_cast<unsigned>(now.year);
    page.text(2456);
    page.line(formatDate(day, month, year, head.monthFirst, '/', 4));
    // The spreadsheet would read slashes as a date of its own locale; backslashes keep it text.
    page.line(cellTag("A1", formatDate(day, month, year, head.monthFirst, '\\', 4)));
    // A1 follows the page's order of day and month; A11 is always year first, so the export
    // can turn it into a date.
    page.line(cellTag("A11", fmt::sprintf("%04u-%02u-%02u", year, month, day)));
    const std::string time = fmt::sprintf("%02d:%02d:%02d", now.hour, now.minute, now.second);
    page.text(2452);
    page.line(time);
    page.text(2453);
    page.line(cellTag("A2", time));

    const std::string name1 = platform::latin1ToUtf8(head.customer1);
    const std::string name2 = platform::latin1ToUtf8(head.customer2);
    page.text(2457);
    page.line(escapeHtml(name1));
    page.line(" " + escapeHtml(name2));
    page.line(cellTag("A5", name1));
    page.line(cellTag("A6", name2));
}

void writeLaundryIdentity(PageWriter& page, const model::CProgData& unit, bool fromUnit) {
    const std::string serial = platform::latin1ToUtf8(model::textOf(unit.SerialNoUnit));
    const std::string version = platform::latin1ToUtf8(model::textOf(unit.SoftwareVersion));
    const std::string modelName = model::unitModelName(unit.unitType);
    page.text(2458);
    page.text(2467);
    page.line(" " + escapeHtml(serial));
    page.text(2468);
    page.line(escapeHtml(modelName));
    page.text(2469);
    page.line(" " + escapeHtml(version));
    page.text(2473);
    page.line(cellTag("B1", modelName));
    if (fromUnit) {
        page.line(cellTag("A7", version));
        page.line(cellTag("A10", serial));
    }
}

void writePageClose(PageWriter& page, std::string_view commentLatin1) {
    const std::string comment = platform::latin1ToUtf8(commentLatin1);
    page.text(2451);
    page.text(2454);
    page.line(commentForPage(comment));
    page.text(2455);
    page.line(cellTag("A100", prepareCommentForCell(comment)));
    page.text(2447);
}

}  // namespace qelto::reports
