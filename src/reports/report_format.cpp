#include "reports/report_format.h"

#include <fmt/printf.h>

namespace qelto::reports {

std::string formatVolume(std::uint32_t volume, bool usUnits) {
    if (usUnits) {
        const double ounces = volume / 100.0;
        if (ounces <= 128.0) {
            return fmt::sprintf("%6.2f fl oz", ounces);
        }
        return fmt::sprintf("%6.3f gallons", ounces / 128.0);
    }
    // The thresholds are strict: exactly 1000 ml is still "1000 ml".
    if (volume > 1000000) {
        return fmt::sprintf("%u,%03u litres", volume / 1000000, (volume / 1000) % 1000);
    }
    if (volume > 50000) {
        return fmt::sprintf("%u.%03u litres", volume / 1000, volume % 1000);
    }
    if (volume > 1000) {
        return fmt::sprintf("%u,%03u ml", volume / 1000, volume % 1000);
    }
    return fmt::sprintf("%u ml", volume);
}

// A log search sums each part on its own (seconds into the seconds part, and so on), so a part
// can reach past 59; the page carries them over, as "02:131 minutes" would only puzzle a reader.
// The cell tags keep the parts as the unit's tables hold them.
std::string formatRunTime(std::uint32_t hours, std::uint32_t minutes, std::uint32_t seconds,
                          const std::string& minutesText, const std::string& hoursText) {
    const std::uint64_t total = std::uint64_t{hours} * 3600 + std::uint64_t{minutes} * 60 + seconds;
    if (total < 3600) {
        return fmt::sprintf("%02u:%02u %s", total / 60, total % 60, minutesText);
    }
    return fmt::sprintf("%02u:%02u %s", total / 3600, total / 60 % 60, hoursText);
}

std::string formatEstimate(std::uint32_t seconds, const std::string& minutesText,
                           const std::string& hoursText) {
    if (seconds < 3600) {
        return fmt::sprintf("%u:%02u %s", seconds / 60, seconds % 60, minutesText);
    }
    return fmt::sprintf("%u:%02u %s", seconds / 3600, seconds / 60 % 60, hoursText);
}

std::string formatDate(unsigned day, unsigned month, unsigned year, bool monthFirst, char separator,
                       int yearDigits) {
    return fmt::sprintf("%02u%c%02u%c%0*u", monthFirst ? month : day, separator,
                        monthFirst ? day : month, separator, yearDigits, year);
}

}  // namespace qelto::reports
