// What the engineer asks of a report from a unit: what the report options ended with (the
// settings, the unit's usage totals, or its log over a date range) and the options themselves.
#pragma once

#include "reports/report_options.h"
#include "reports/report_options_form.h"

namespace qelto::comms {

struct ReportRequest {
    reports::ReportResult resultCode = reports::kReadSettings;
    reports::ReportOptions options;
    // The application's log-search setting: only changes what the status line says.
    bool logSearch = true;
};

}  // namespace qelto::comms
