// The tables a usage read fills: the main table (the unit's counters, or the log summed per
// program and pump, or the first shift) and one table each for the second and third shift. The
// main table counts in 16 bits, the shift tables in 32; both keep a pump's amount in three parts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qelto::reports {

inline constexpr std::size_t kUsagePrograms = 20;
inline constexpr std::size_t kUsageRows = 21;  // programs 1-20, then the all-programs total
inline constexpr std::size_t kTotalsRow = 20;
inline constexpr std::size_t kUsagePumps = 10;

// What a pump's amounts are, and so how two of them add up. A calibrated pump's three parts are
// one volume (high x 65536 + middle x 256 + low). An uncalibrated pump's are a run time in hours,
// minutes and seconds: its sums carry 60 seconds into a minute and 60 minutes into an hour, where
// adding the parts as one number would let 256 seconds become one minute.
enum class AmountKind : std::uint8_t { Volume, RunTime };
using AmountKinds = std::array<AmountKind, kUsagePumps>;

// The sum of two amounts, each packed as high << 16 | middle << 8 | low.
std::uint32_t addAmounts(std::uint32_t a, std::uint32_t b, AmountKind kind);

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
    void count(std::uint32_t dose, AmountKind kind) {
        cycle = static_cast<std::uint16_t>(cycle + 1);
        setTime(addAmounts(time(), dose, kind));
    }
    friend bool operator==(const UsageCell&, const UsageCell&) = default;
};

using UsageTable = std::array<std::array<UsageCell, kUsagePumps>, kUsageRows>;

// Laid out in planes, as the report reads it; the high part has the main table's 16 bits, so a
// shift's sum is as wide as the whole range's.
struct ShiftTable {
    std::array<std::array<std::uint32_t, kUsagePumps>, kUsageRows> cycle{};
    std::array<std::array<std::uint16_t, kUsagePumps>, kUsageRows> high{};
    std::array<std::array<std::uint8_t, kUsagePumps>, kUsageRows> middle{};
    std::array<std::array<std::uint8_t, kUsagePumps>, kUsageRows> low{};

    std::uint32_t time(std::size_t row, std::size_t pump) const;
    void setTime(std::size_t row, std::size_t pump, std::uint32_t value);
    void count(std::size_t row, std::size_t pump, std::uint32_t dose, AmountKind kind);
    friend bool operator==(const ShiftTable&, const ShiftTable&) = default;
};

struct UsageTables {
    UsageTable main{};
    ShiftTable shift2;
    ShiftTable shift3;
    // Set by the caller before a read (from the unit's calibration); a read keeps them.
    AmountKinds kinds{};
};

// Row 20 becomes the sum of rows 0-19, pump by pump, each pump's amounts added as its kind.
void sumTotalsRow(UsageTable& table, const AmountKinds& kinds);
void sumTotalsRow(ShiftTable& table, const AmountKinds& kinds);

}  // namespace qelto::reports
