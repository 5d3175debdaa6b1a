#include "reports/legacy_usage_data.h"

#include <algorithm>

namespace qelto::reports {
namespace {

void copyRow(const legacy::UsageRecord& from, std::size_t pumps, ProgramRecord& to) {
    for (std::size_t pump = 0; pump < pumps; ++pump) {
        const legacy::UsageTotal& total = from.usage[pump];
        to.setUsage(pump, {from.cycles[pump], total.high, total.middle, total.low});
    }
}

void copyCalibration(const legacy::UsageRecord& from, std::size_t pumps, ProgramRecord& to) {
    for (std::size_t pump = 0; pump < pumps; ++pump) {
        to.setFlowRate(pump, from.flowRate[pump]);
        to.setCalibrationDate(pump, {from.calibrationDay[pump], from.calibrationMonth[pump],
                                     from.calibrationYear[pump]});
    }
}

}  // namespace

ReportData reportDataFromLegacyUsage(const legacy::LegacyUsage& usage) {
    static_assert(legacy::kUsagePumps == kUsagePumps && legacy::kUsageTotalsRow == kTotalsRow);
    const std::size_t pumps = std::min<std::size_t>(usage.pumpCount, kUsagePumps);
    ReportData data;
    data.pumpCount = static_cast<std::uint32_t>(pumps);
    data.totalCycles = usage.totalCycles;
    data.totalCyclesKnown = true;
    std::copy(usage.programPresent.begin(), usage.programPresent.end(),
              data.programPresent.begin());
    for (std::size_t row = 0; row < kUsageRows; ++row) {
        copyRow(usage.records[row], pumps, data.programs[row]);
    }
    copyCalibration(usage.records[kTotalsRow], pumps, data.programs[kTotalsRow]);
    return data;
}

model::CProgData unitFromLegacyUsage(const legacy::LegacyUsage& usage,
                                     const legacy::DeviceInfo& info) {
    model::CProgData unit;
    unit.ResetAll(model::NoPumpNameDefaults{});
    model::setText(unit.customerName1, usage.general.customerLines[0]);
    model::setText(unit.customerName2, usage.general.customerLines[1]);
    unit.comments = usage.comments;
    std::copy(usage.programNames.begin(), usage.programNames.end(), unit.progName.begin());
    if (info[0] == legacy::kInfoReceived) {
        unit.unitType = info[1];
        model::setText(unit.SoftwareVersion, legacy::versionText(info));
    }
    return unit;
}

}  // namespace qelto::reports
