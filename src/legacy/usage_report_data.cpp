#include "legacy/usage_report_data.h"

#include <algorithm>

namespace qelto::legacy {
namespace {

void copyRow(const UsageRecord& from, std::size_t pumps, reports::ProgramRecord& to) {
    for (std::size_t pump = 0; pump < pumps; ++pump) {
        const UsageTotal& total = from.usage[pump];
        to.setUsage(pump, {from.cycles[pump], total.high, total.middle, total.low});
    }
}

void copyCalibration(const UsageRecord& from, std::size_t pumps, reports::ProgramRecord& to) {
    for (std::size_t pump = 0; pump < pumps; ++pump) {
        to.setFlowRate(pump, from.flowRate[pump]);
        to.setCalibrationDate(pump, {from.calibrationDay[pump], from.calibrationMonth[pump],
                                     from.calibrationYear[pump]});
    }
}

}  // namespace

reports::ReportData reportDataFromLegacyUsage(const LegacyUsage& usage) {
    static_assert(kUsagePumps == reports::kUsagePumps && kUsageTotalsRow == reports::kTotalsRow);
    const std::size_t pumps = std::min<std::size_t>(usage.pumpCount, kUsagePumps);
    reports::ReportData data;
    data.pumpCount = static_cast<std::uint32_t>(pumps);
    data.totalCycles = usage.totalCycles;
    data.totalCyclesKnown = true;
    std::copy(usage.programPresent.begin(), usage.programPresent.end(),
              data.programPresent.begin());
    for (std::size_t row = 0; row < reports::kUsageRows; ++row) {
        copyRow(usage.records[row], pumps, data.programs[row]);
    }
    copyCalibration(usage.records[kUsageTotalsRow], pumps, data.programs[reports::kTotalsRow]);
    return data;
}

model::CProgData unitFromLegacyUsage(const LegacyUsage& usage, const DeviceInfo& info) {
    model::CProgData unit;
    unit.ResetAll(model::NoPumpNameDefaults{});
    model::setText(unit.customerName1, usage.general.customerLines[0]);
    model::setText(unit.customerName2, usage.general.customerLines[1]);
    // The unit sends no serial number; the reset one would read as a real one on the page.
    model::setText(unit.SerialNoUnit, "");
    unit.comments = usage.comments;
    std::copy(usage.programNames.begin(), usage.programNames.end(), unit.progName.begin());
    if (info[0] == kInfoReceived) {
        unit.unitType = info[1];
        model::setText(unit.SoftwareVersion, versionText(info));
    }
    return unit;
}

}  // namespace qelto::legacy
