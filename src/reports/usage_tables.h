// The tables a usage read fills: the main table (the unit's counters, or the log summed per
// program and pump, or the first shift) and one table each for the second and third shift. The
// widths are the report's own: the main table counts in 16 bits and sums doses in 32, the shift
// tables count in 32 bits and sum in 24, and every sum wraps at its width.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qelto::reports {

inline constexpr std::size_t kUsagePrograms = 20;
inline constexpr std::size_t kUsageRows = 21;  // programs 1-20, then the all-programs total
inline constexpr std::size_t kTotalsRow = 20;
inline constexpr std::size_t kUsagePumps = 10;

// The dose sum is kept in the three parts the unit sends and the report reads: a volume for a
// calibrated pump, hours, minutes and seconds for one that is not.
struct UsageCell {
    std::uint16_t cycle = 0;
    std::uint16_t timeHigh = 0;
    std::uint8_t timeMiddle = 0;
    std::uint8_t timeLow = 0;

    std::uint32_t time() const {
        return (static_cast<std::uint32_t>(timeHigh) << 16) |
               (static_cast<std::uint32_t>(timeMiddle) << 8) | timeLow;
    }
    void setTime(std::uint32_t value) {
        timeHigh = static_cast<std::uint16_t>(value >> 16);
        timeMiddle = static_cast<std::uint8_t>(value >> 8);
        timeLow = static_cast<std::uint8_t>(value);
    }
    void count(std::uint32_t dose) {
        cycle = static_cast<std::uint16_t>(cycle + 1);
        setTime(time() + dose);
    }
    friend bool operator==(const UsageCell&, const UsageCell&) = default;
};

using UsageTable = std::array<std::array<UsageCell, kUsagePumps>, kUsageRows>;

// Laid out in byte planes, as the report reads it; a dose sum past 24 bits loses its top byte.
struct ShiftTable {
    std::array<std::array<std::uint32_t, kUsagePumps>, kUsageRows> cycle{};
    std::array<std::array<std::uint8_t, kUsagePumps>, kUsageRows> high{};
    std::array<std::array<std::uint8_t, kUsagePumps>, kUsageRows> middle{};
    std::array<std::array<std::uint8_t, kUsagePumps>, kUsageRows> low{};

    std::uint32_t time(std::size_t row, std::size_t pump) const;
    void setTime(std::size_t row, std::size_t pump, std::uint32_t value);
    void count(std::size_t row, std::size_t pump, std::uint32_t dose);
    friend bool operator==(const ShiftTable&, const ShiftTable&) = default;
};

struct UsageTables {
    UsageTable main{};
    ShiftTable shift2;
    ShiftTable shift3;
};

// Row 20 becomes the sum of rows 0-19, pump by pump, at the table's widths.
void sumTotalsRow(UsageTable& table);
void sumTotalsRow(ShiftTable& table);

}  // namespace qelto::reports
