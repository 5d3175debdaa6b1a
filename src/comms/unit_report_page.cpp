#include "comms/unit_report_page.h"

namespace qelto::comms {

std::string renderUnitReport(const UnitReport& report, const reports::PageContext& context) {
    if (report.kind == reports::REP_TYPE_LAUNDRY_SETTINGS) {
        return reports::renderLaundrySettings(report.unit, reports::REP_FROM_USB_UNIT, context);
    }
    const reports::UsagePageInput input{report.data, report.tables, report.options, report.unit,
                                        report.pumpCount};
    return reports::renderLaundryUsage(input, context);
}

}  // namespace qelto::comms
