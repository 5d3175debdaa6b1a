#include "reports/report_pages.h"

namespace qelto::reports {

std::string renderDishwashSettings(const model::CDishWashViewData&, const model::CProgData&,
                                   const PageContext&) {
    return {};
}

}  // namespace qelto::reports
