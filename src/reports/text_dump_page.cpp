#include "reports/report_pages.h"

namespace qelto::reports {

std::string renderTextDump(const std::vector<std::string>&, const PageContext&) {
    return {};
}

}  // namespace qelto::reports
