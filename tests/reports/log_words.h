// Log words for the tests, put together from the documented bit layout.
#pragma once

#include <cstdint>

namespace qelto::reports::test {

inline std::uint32_t dateWord(unsigned day, unsigned month, unsigned yearsAfter2000,
                              std::uint32_t secondsOfDay) {
    return 1U | (day << 2) | (month << 7) | (yearsAfter2000 << 11) | ((secondsOfDay / 4) << 17);
}

inline std::uint32_t pumpWord(unsigned program, unsigned pump, std::uint32_t dose) {
    return (program << 2) | (pump << 7) | (dose << 11);
}

inline constexpr std::uint32_t hms(std::uint32_t h, std::uint32_t m, std::uint32_t s) {
    return h * 3600 + m * 60 + s;
}

}  // namespace qelto::reports::test
