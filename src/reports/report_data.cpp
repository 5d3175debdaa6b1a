#include "reports/report_data.h"

namespace qelto::reports {

UsageCell ProgramRecord::usage(std::size_t pump) const {
    const std::size_t at = 4 * pump;
    UsageCell cell;
    cell.timeMiddle = bytes.at(at);
    cell.timeLow = bytes.at(at + 1);
    cell.timeHigh = static_cast<std::uint16_t>(bytes.at(at + 2) | (bytes.at(at + 3) << 8));
    cell.cycle = cycles(pump);
    return cell;
}

void ProgramRecord::setUsage(std::size_t pump, const UsageCell& cell) {
    const std::size_t at = 4 * pump;
    bytes.at(at) = cell.timeMiddle;
    bytes.at(at + 1) = cell.timeLow;
    bytes.at(at + 2) = static_cast<std::uint8_t>(cell.timeHigh);
    bytes.at(at + 3) = static_cast<std::uint8_t>(cell.timeHigh >> 8);
    bytes.at(110 + 2 * pump) = static_cast<std::uint8_t>(cell.cycle);
    bytes.at(111 + 2 * pump) = static_cast<std::uint8_t>(cell.cycle >> 8);
}

std::uint32_t ProgramRecord::flowRate(std::size_t pump) const {
    std::uint32_t rate = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        rate |= static_cast<std::uint32_t>(bytes.at(40 + 4 * pump + i)) << (8 * i);
    }
    return rate;
}

void ProgramRecord::setFlowRate(std::size_t pump, std::uint32_t rate) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes.at(40 + 4 * pump + i) = static_cast<std::uint8_t>(rate >> (8 * i));
    }
}

ShortDate ProgramRecord::calibrationDate(std::size_t pump) const {
    return {bytes.at(80 + pump), bytes.at(90 + pump), bytes.at(100 + pump)};
}

void ProgramRecord::setCalibrationDate(std::size_t pump, const ShortDate& date) {
    bytes.at(80 + pump) = date.day;
    bytes.at(90 + pump) = date.month;
    bytes.at(100 + pump) = date.year;
}

std::uint16_t ProgramRecord::cycles(std::size_t pump) const {
    return static_cast<std::uint16_t>(bytes.at(110 + 2 * pump) | (bytes.at(111 + 2 * pump) << 8));
}

UsageAmount usageAmount(const ProgramRecord& record, std::size_t pump) {
    const UsageCell cell = record.usage(pump);
    UsageAmount amount;
    if (record.flowRate(pump) != 0) {
        amount.isVolume = true;
        amount.volume = cell.time();
    } else {
        amount.hours = cell.timeHigh;
        amount.minutes = cell.timeMiddle;
        amount.seconds = cell.timeLow;
    }
    return amount;
}

AmountKinds amountKinds(const ProgramRecord& record) {
    AmountKinds kinds{};
    for (std::size_t pump = 0; pump < kUsagePumps; ++pump) {
        kinds[pump] = record.flowRate(pump) != 0 ? AmountKind::Volume : AmountKind::RunTime;
    }
    return kinds;
}

void copyUsage(const UsageTable& table, ReportData& data) {
    for (std::size_t row = 0; row < kUsageRows; ++row) {
        for (std::size_t pump = 0; pump < kUsagePumps; ++pump) {
            data.programs[row].setUsage(pump, table[row][pump]);
        }
    }
}

}  // namespace qelto::reports
