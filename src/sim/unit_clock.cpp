#include "sim/unit_clock.h"

#include <ctime>

#include "platform/text_helpers.h"

namespace qelto::sim {

std::string formatUnitTime(std::int64_t secondsSinceEpoch) {
    const auto t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    if (::localtime_r(&t, &local) == nullptr) {
        return {};
    }
    char text[32] = {};
    const std::size_t n = std::strftime(text, sizeof text, "%H%M%S%d%m%Y", &local);
    return std::string(text, n);
}

std::optional<std::int64_t> parseUnitTime(std::string_view text) {
    if (text.size() != 14 || !platform::allDigits(text)) {
        return std::nullopt;
    }
    const auto number = [&](std::size_t at, std::size_t len) {
        return platform::digitsAt(text, at, len).value_or(0);
    };
    std::tm local{};
    local.tm_hour = number(0, 2);
    local.tm_min = number(2, 2);
    local.tm_sec = number(4, 2);
    local.tm_mday = number(6, 2);
    local.tm_mon = number(8, 2) - 1;
    local.tm_year = number(10, 4) - 1900;
    local.tm_isdst = -1;
    const std::tm asGiven = local;
    const std::time_t t = std::mktime(&local);
    // mktime quietly rolls 31 February into March; a unit refuses such a date instead.
    if (t == static_cast<std::time_t>(-1) || local.tm_mday != asGiven.tm_mday ||
        local.tm_mon != asGiven.tm_mon || asGiven.tm_hour > 23 || asGiven.tm_min > 59 ||
        asGiven.tm_sec > 59) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(t);
}

}  // namespace qelto::sim
