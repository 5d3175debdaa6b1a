// The usage figures a usage report prints, in the layout the unit reads of both protocols fill:
// per program a 130-byte record of per-pump totals, flow rates, calibration dates and counts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "reports/julian_day.h"
#include "reports/usage_tables.h"

namespace qelto::reports {

inline constexpr std::size_t kProgramRecordSize = 130;

// Multi-byte fields are little-endian.
class ProgramRecord {
  public:
    std::array<std::uint8_t, kProgramRecordSize> bytes{};

    // A pump's total: offset 4p holds the middle byte, the low byte and the 16-bit high part.
    UsageCell usage(std::size_t pump) const;
    void setUsage(std::size_t pump, const UsageCell& cell);  // the cycle count goes too
    // ml per minute (hundredths of a fluid ounce in US units); 0 = not calibrated.
    std::uint32_t flowRate(std::size_t pump) const;
    void setFlowRate(std::size_t pump, std::uint32_t rate);
    ShortDate calibrationDate(std::size_t pump) const;
    void setCalibrationDate(std::size_t pump, const ShortDate& date);
    std::uint16_t cycles(std::size_t pump) const;

    friend bool operator==(const ProgramRecord&, const ProgramRecord&) = default;
};

struct ReportData {
    std::uint32_t pumpCount = 0;    // set by the legacy reads
    std::uint32_t totalCycles = 0;  // the unit's total cycle count
    bool totalCyclesKnown = false;  // only the older units report one
    std::array<std::uint8_t, kUsageRows> programPresent{};
    std::array<ProgramRecord, kUsageRows> programs{};
};

// A pump's total as the report shows it: a calibrated pump's is a volume, an uncalibrated one's
// a run time kept as hours, minutes and seconds in the three parts.
struct UsageAmount {
    bool isVolume = false;
    std::uint32_t volume = 0;
    std::uint16_t hours = 0;
    std::uint8_t minutes = 0;
    std::uint8_t seconds = 0;
    friend bool operator==(const UsageAmount&, const UsageAmount&) = default;
};
UsageAmount usageAmount(const ProgramRecord& record, std::size_t pump);

// How each pump's amounts add up, from the flow rates in the record: a pump without one is timed.
AmountKinds amountKinds(const ProgramRecord& record);

// Copies the counts and totals of every row; flow rates and calibration dates are left alone.
void copyUsage(const UsageTable& table, ReportData& data);

}  // namespace qelto::reports
