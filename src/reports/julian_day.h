// Dates as the usage log and the report range carry them: a calendar date of the unit's kind
// (year - 2000 in one byte) and its Julian day number, so a range test is one comparison.
#pragma once

#include <cstdint>
#include <optional>

namespace qelto::reports {

// Day, month and year - 2000, as a report prints a range end and as a log record holds a date.
struct ShortDate {
    std::uint8_t day = 0;
    std::uint8_t month = 0;
    std::uint8_t year = 0;  // year - 2000
    friend bool operator==(const ShortDate&, const ShortDate&) = default;
};

// The Julian day number of a Gregorian date. nullopt for a month outside 1-12, a day outside
// 1-31 or a year before the Gregorian calendar (1583); a day past the month's end (31 April) is
// taken as the days after it, as the units do.
std::optional<std::uint32_t> julianDay(unsigned day, unsigned month, unsigned year);

}  // namespace qelto::reports
