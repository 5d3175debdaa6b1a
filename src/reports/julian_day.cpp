#include "reports/julian_day.h"

namespace qelto::reports {

std::optional<std::uint32_t> julianDay(unsigned day, unsigned month, unsigned year) {
    if (month < 1 || month > 12 || day < 1 || day > 31 || year <= 1582 || year > 100000) {
        return std::nullopt;
    }
    // Counting the year from March puts the leap day last, so one formula serves every month.
    const long a = (14 - static_cast<long>(month)) / 12;
    const long y = static_cast<long>(year) + 4800 - a;
    const long m = static_cast<long>(month) + 12 * a - 3;
    const long jdn =
        static_cast<long>(day) + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
    return static_cast<std::uint32_t>(jdn);
}

}  // namespace qelto::reports
