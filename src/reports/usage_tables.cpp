#include "reports/usage_tables.h"

namespace qelto::reports {

std::uint32_t ShiftTable::time(std::size_t row, std::size_t pump) const {
    return (static_cast<std::uint32_t>(high.at(row).at(pump)) << 16) |
           (static_cast<std::uint32_t>(middle.at(row).at(pump)) << 8) | low.at(row).at(pump);
}

void ShiftTable::setTime(std::size_t row, std::size_t pump, std::uint32_t value) {
    high.at(row).at(pump) = static_cast<std::uint8_t>(value >> 16);
    middle.at(row).at(pump) = static_cast<std::uint8_t>(value >> 8);
    low.at(row).at(pump) = static_cast<std::uint8_t>(value);
}

void ShiftTable::count(std::size_t row, std::size_t pump, std::uint32_t dose) {
    ++cycle.at(row).at(pump);
    setTime(row, pump, time(row, pump) + dose);
}

void sumTotalsRow(UsageTable& table) {
    for (std::size_t pump = 0; pump < kUsagePumps; ++pump) {
        std::uint16_t cycles = 0;
        std::uint32_t time = 0;
        for (std::size_t row = 0; row < kUsagePrograms; ++row) {
            cycles = static_cast<std::uint16_t>(cycles + table[row][pump].cycle);
            time += table[row][pump].time();
        }
        table[kTotalsRow][pump].cycle = cycles;
        table[kTotalsRow][pump].setTime(time);
    }
}

void sumTotalsRow(ShiftTable& table) {
    for (std::size_t pump = 0; pump < kUsagePumps; ++pump) {
        std::uint32_t cycles = 0;
        std::uint32_t time = 0;
        for (std::size_t row = 0; row < kUsagePrograms; ++row) {
            cycles += table.cycle[row][pump];
            time += table.time(row, pump);
        }
        table.cycle[kTotalsRow][pump] = cycles;
        table.setTime(kTotalsRow, pump, time);
    }
}

}  // namespace qelto::reports
