#include "reports/usage_tables.h"

namespace qelto::reports {
namespace {

std::uint64_t runSeconds(std::uint32_t amount) {
    return std::uint64_t{amount >> 16} * 3600 + ((amount >> 8) & 0xFFU) * 60 + (amount & 0xFFU);
}

}  // namespace

std::uint32_t addAmounts(std::uint32_t a, std::uint32_t b, AmountKind kind) {
    if (kind == AmountKind::Volume) {
        return a + b;
    }
    const std::uint64_t seconds = runSeconds(a) + runSeconds(b);
    const auto hours = static_cast<std::uint32_t>(seconds / 3600);
    return (hours << 16) | static_cast<std::uint32_t>(seconds / 60 % 60) << 8 |
           static_cast<std::uint32_t>(seconds % 60);
}

std::uint32_t ShiftTable::time(std::size_t row, std::size_t pump) const {
    return (static_cast<std::uint32_t>(high.at(row).at(pump)) << 16) |
           (static_cast<std::uint32_t>(middle.at(row).at(pump)) << 8) | low.at(row).at(pump);
}

void ShiftTable::setTime(std::size_t row, std::size_t pump, std::uint32_t value) {
    high.at(row).at(pump) = static_cast<std::uint16_t>(value >> 16);
    middle.at(row).at(pump) = static_cast<std::uint8_t>(value >> 8);
    low.at(row).at(pump) = static_cast<std::uint8_t>(value);
}

void ShiftTable::count(std::size_t row, std::size_t pump, std::uint32_t dose, AmountKind kind) {
    ++cycle.at(row).at(pump);
    setTime(row, pump, addAmounts(time(row, pump), dose, kind));
}

void sumTotalsRow(UsageTable& table, const AmountKinds& kinds) {
    for (std::size_t pump = 0; pump < kUsagePumps; ++pump) {
        std::uint16_t cycles = 0;
        std::uint32_t time = 0;
        for (std::size_t row = 0; row < kUsagePrograms; ++row) {
            cycles = static_cast<std::uint16_t>(cycles + table[row][pump].cycle);
            time = addAmounts(time, table[row][pump].time(), kinds[pump]);
        }
        table[kTotalsRow][pump].cycle = cycles;
        table[kTotalsRow][pump].setTime(time);
    }
}

void sumTotalsRow(ShiftTable& table, const AmountKinds& kinds) {
    for (std::size_t pump = 0; pump < kUsagePumps; ++pump) {
        std::uint32_t cycles = 0;
        std::uint32_t time = 0;
        for (std::size_t row = 0; row < kUsagePrograms; ++row) {
            cycles += table.cycle[row][pump];
            time = addAmounts(time, table.time(row, pump), kinds[pump]);
        }
        table.cycle[kTotalsRow][pump] = cycles;
        table.setTime(kTotalsRow, pump, time);
    }
}

}  // namespace qelto::reports
