// The report from a unit: the engineer picks a settings report or a usage report (the unit's
// totals, or its log searched over a date range and split into shifts), the unit is read for it,
// and what was read comes back for the caller to draw the page from.
#pragma once

#include <cstdint>
#include <optional>

#include "comms/operation_driver.h"
#include "comms/report_request.h"
#include "model/prog_data.h"
#include "reports/report_data.h"
#include "reports/report_kinds.h"
#include "reports/report_options.h"
#include "reports/usage_tables.h"

namespace qelto::comms {

// Everything a report page of a unit is drawn from. The unit's settings, names, identity and
// comments sit in a configuration record of their own, so reading a report never touches the
// document the engineer is editing.
struct UnitReport {
    reports::ReportKind kind = reports::REP_TYPE_LAUNDRY_SETTINGS;
    model::CProgData unit;
    std::uint32_t pumpCount = 0;
    // Usage reports only.
    reports::ReportData data;
    reports::UsageTables tables;
    reports::ReportOptions options;
};

struct ReportOutcome {
    OperationResult result;
    // Present when the read went through; a report with parts missing is never drawn as if the
    // unit had given them.
    std::optional<UnitReport> report;
};

// Asks the engineer which report (through the prompts), reads the unit for it and locks the unit
// again. Status Failed, and no report, when any read failed; Cancelled when the engineer
// cancelled.
ReportOutcome reportFromUnit(OperationContext& context);

}  // namespace qelto::comms
