#include "reports/report_pages.h"

namespace qelto::reports {

std::string renderLaundrySettings(const model::CProgData&, std::uint8_t, const PageContext&) {
    return {};
}

}  // namespace qelto::reports
