#include "reports/report_pages.h"

namespace qelto::reports {

std::string renderLaundryUsage(const UsagePageInput&, const PageContext&) {
    return {};
}

}  // namespace qelto::reports
