// The page of a report read from a unit: the laundry settings page for a settings report, the
// usage page for a usage report. Shared by qeltoctl and the window's report view.
#pragma once

#include <string>

#include "comms/unit_report.h"
#include "reports/report_pages.h"

namespace qelto::comms {

std::string renderUnitReport(const UnitReport& report, const reports::PageContext& context);

}  // namespace qelto::comms
