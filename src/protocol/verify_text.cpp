#include <fmt/format.h>

#include "protocol/verify_checks.h"

namespace qelto::protocol {

namespace verify_detail {

std::string numberText(unsigned value) {
    return fmt::format("{}", value);
}

std::string minutesSecondsText(unsigned minutes, unsigned seconds) {
    return fmt::format("{}:{:02}", minutes, seconds);
}

std::string secondsAsMinutesText(unsigned seconds) {
    return minutesSecondsText(seconds / 60, seconds % 60);
}

std::string quotedText(const std::string& text) {
    return fmt::format("\"{}\"", text);
}

}  // namespace verify_detail

std::string describe(const Difference& difference) {
    std::string where;
    const auto place = [&where](const char* name, int number) {
        if (number < 0) {
            return;
        }
        if (!where.empty()) {
            where += ", ";
        }
        where += fmt::format("{} {}", name, number);
    };
    place("program", difference.program);
    place("trigger", difference.trigger);
    place("pump", difference.pump);
    if (!where.empty()) {
        where += ": ";
    }
    return fmt::format("{}{} unit {}, document {}", where, difference.field, difference.unitValue,
                       difference.documentValue);
}

}  // namespace qelto::protocol
