#include "reports/report_kinds.h"

namespace qelto::reports {

ReportRoute routeReport(std::uint8_t kind, std::uint8_t source) {
    switch (source) {
        case REP_FROM_MEMORY:
            if (kind == REP_TYPE_DWASH_SETTINGS) {
                return {ReportAction::DishwashSettings, false, REP_FROM_MEMORY};
            }
            if (kind == REP_TYPE_LAUNDRY_SETTINGS) {
                return {ReportAction::LaundrySettings, false, REP_FROM_MEMORY};
            }
            return {};
        case REP_FROM_UNNAMED:
            return {ReportAction::MessageNoSuchSource, false, source};
        case REP_FROM_USB_UNIT:
            switch (kind) {
                case REP_TYPE_DWASH_SETTINGS:
                case REP_TYPE_DWASH_CYCLES:
                    // Dishwash units keep nothing a report could read from them.
                    return {ReportAction::MessageNoDishwashFromUnit, false, source};
                case REP_TYPE_LAUNDRY_SETTINGS:
                    return {ReportAction::LaundrySettings, true, source};
                case REP_TYPE_LAUNDRY_CYCLES:
                    return {ReportAction::LaundryUsage, true, source};
                default:
                    return {};
            }
        default:
            return {};
    }
}

}  // namespace qelto::reports
