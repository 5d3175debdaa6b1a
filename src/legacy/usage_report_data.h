// An older laundry unit's usage, moved into the figures the usage page draws: the report data
// block and a configuration record holding only what the unit told about itself.
#pragma once

#include "legacy/device_info.h"
#include "legacy/laundry_usage.h"
#include "model/prog_data.h"
#include "reports/report_data.h"

namespace qelto::legacy {

// The pump count, total cycles, present flags and program rows, row 20 the unit's totals with
// its flow rates and calibration dates. A unit's program rows carry no flow rate, so the page
// shows them as the run times the unit counts. The pump count is held to the ten pumps a record
// has, whatever the unit claimed.
reports::ReportData reportDataFromLegacyUsage(const LegacyUsage& usage);

// A reset record with the customer lines, comments and program names the unit sent, and its type
// and software version when its sign-on gave them; everything else stays at the reset values.
model::CProgData unitFromLegacyUsage(const LegacyUsage& usage, const DeviceInfo& info);

}  // namespace qelto::legacy
