// What a usage read from a unit is asked for (a date range, or none for the unit's own totals,
// and a split into shifts) and what it found (the dates of the newest and oldest log entries it
// counted). The options dialog fills it; the log search reads the range and writes the dates.
#pragma once

#include <array>
#include <cstdint>

#include "reports/julian_day.h"

namespace qelto::reports {

// Seconds since midnight, both ends counted in the shift.
struct ShiftWindow {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    friend bool operator==(const ShiftWindow&, const ShiftWindow&) = default;
};

enum ShiftChoice : std::int8_t {
    kNoShifts = 0,
    kTwoShifts = 1,
    kThreeShifts = 2,
};

inline constexpr std::size_t kShifts = 3;

struct ReportOptions {
    std::uint32_t fromDay = 0;  // Julian day number of the first day
    std::uint32_t toDay = 0;    // of the last day; 0 reads the unit's totals instead of its log
    ShortDate reportTo;
    ShortDate reportFrom;
    std::int8_t shiftChoice = kNoShifts;
    std::array<ShiftWindow, kShifts> shifts{};
    friend bool operator==(const ReportOptions&, const ReportOptions&) = default;
};

}  // namespace qelto::reports
