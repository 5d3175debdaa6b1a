// The page of an older unit's text dump: the lines it sent, as sent, between the page's head and
// its end. The unit's text is escaped like any other, so a "<" in it cannot start mark-up.
#include <fmt/printf.h>

#include "reports/page_escape.h"
#include "reports/page_frame.h"
#include "reports/report_format.h"

namespace qelto::reports {

std::string renderTextDump(const std::vector<std::string>& lines, const PageContext& context) {
    PageWriter page(context);
    page.text(2446);
    page.text(2524);
    const PageMoment& now = context.now;
    page.text(2456);
    page.line(formatDate(static_cast<unsigned>(now.day), static_cast<unsigned>(now.month),
                         static_cast<unsigned>(now.year), context.usUnits, '\\', 4));
    page.text(2452);
    page.line(fmt::sprintf("%02d:%02d:%02d", now.hour, now.minute, now.second));
    page.text(2453);
    page.line("<p><pre>");
    for (std::string_view line : lines) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        page.line(pageText(line));
    }
    page.line(" </pre></p>");
    page.text(2451);
    page.text(2454);
    page.text(2455);
    page.text(2447);
    return page.take();
}

}  // namespace qelto::reports
