#include "cli/report_range.h"

#include <fmt/format.h>

#include <cstdio>

#include "platform/text_helpers.h"
#include "reports/julian_day.h"

namespace qelto::cli {
namespace {

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

std::optional<std::uint32_t> parseTime(const std::string& text, std::size_t at) {
    const auto hours = platform::digitsAt(text, at, 2);
    const auto minutes = platform::digitsAt(text, at + 3, 2);
    if (!hours || !minutes || text[at + 2] != ':' || *hours > 23 || *minutes > 59) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*hours * 3600 + *minutes * 60);
}

reports::ShortDate shortDate(const reports::CalendarDate& date) {
    return {static_cast<std::uint8_t>(date.day), static_cast<std::uint8_t>(date.month),
            static_cast<std::uint8_t>(date.year - 2000)};
}

}  // namespace

std::optional<reports::CalendarDate> parseCalendarDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const auto year = platform::digitsAt(text, 0, 4);
    const auto month = platform::digitsAt(text, 5, 2);
    const auto day = platform::digitsAt(text, 8, 2);
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 ||
        *day > daysInMonth(*year, *month)) {
        return std::nullopt;
    }
    return reports::CalendarDate{*year, *month, *day};
}

std::optional<reports::ShiftWindow> parseShift(const std::string& text) {
    if (text.size() != 11 || text[5] != '-') {
        return std::nullopt;
    }
    const auto start = parseTime(text, 0);
    const auto end = parseTime(text, 6);
    if (!start || !end || *end < *start) {
        return std::nullopt;
    }
    return reports::ShiftWindow{*start, *end};
}

std::optional<comms::ReportRequest> usageRequest(const UsageRange& range,
                                                 const reports::CalendarDate& today,
                                                 std::string* error) {
    const auto fail = [error](std::string reason) -> std::optional<comms::ReportRequest> {
        *error = std::move(reason);
        return std::nullopt;
    };
    comms::ReportRequest request;
    if (!range.from && !range.to) {
        if (!range.shifts.empty()) {
            return fail(
                "--shift needs a date range (--from and --to): a unit's own totals "
                "are not kept by time of day");
        }
        request.resultCode = reports::kReadTotals;
        return request;
    }
    if (!range.from || !range.to) {
        return fail("give both --from and --to, or neither for the unit's own totals");
    }
    const auto from = parseCalendarDate(*range.from);
    const auto to = parseCalendarDate(*range.to);
    if (!from || !to) {
        return fail(fmt::format("{} is not a date; write it as YYYY-MM-DD",
                                from ? *range.to : *range.from));
    }
    // The units date their log in two digits after 2000.
    if (from->year < 2000 || to->year > 2255) {
        return fail("the units' log holds dates from 2000 to 2255 only");
    }
    if (*from > *to) {
        return fail(fmt::format("--from {} is after --to {}", *range.from, *range.to));
    }
    if (*to > today) {
        return fail(fmt::format("--to {} is after today; the log holds nothing later", *range.to));
    }
    if (range.shifts.size() == 1 || range.shifts.size() > 3) {
        return fail("give two or three --shift windows, or none for the whole day");
    }

    request.resultCode = reports::kReadDateRange;
    reports::ReportOptions& options = request.options;
    options.reportFrom = shortDate(*from);
    options.reportTo = shortDate(*to);
    options.fromDay =
        *reports::julianDay(static_cast<unsigned>(from->day), static_cast<unsigned>(from->month),
                            static_cast<unsigned>(from->year));
    options.toDay =
        *reports::julianDay(static_cast<unsigned>(to->day), static_cast<unsigned>(to->month),
                            static_cast<unsigned>(to->year));
    options.shiftChoice = range.shifts.empty()       ? reports::kNoShifts
                          : range.shifts.size() == 2 ? reports::kTwoShifts
                                                     : reports::kThreeShifts;
    for (std::size_t i = 0; i < range.shifts.size(); ++i) {
        const auto window = parseShift(range.shifts[i]);
        if (!window) {
            return fail(
                fmt::format("--shift {} is not a shift; write it as HH:MM-HH:MM with the "
                            "end not before the start",
                            range.shifts[i]));
        }
        options.shifts[i] = *window;
    }
    return request;
}

}  // namespace qelto::cli
