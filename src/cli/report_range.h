// The date range and shifts of `qeltoctl report usage`, from the command line's words to the
// report options a usage read takes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "comms/report_request.h"
#include "reports/report_options_form.h"

namespace qelto::cli {

// "2026-12-07"; nullopt for anything else, a day the month does not have included.
std::optional<reports::CalendarDate> parseCalendarDate(const std::string& text);

// "06:00-14:00": seconds since midnight at both ends, the end not before the start.
std::optional<reports::ShiftWindow> parseShift(const std::string& text);

struct UsageRange {
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::vector<std::string> shifts;
};

// What a usage report reads: the unit's totals without a range, its log over the range with
// one. nullopt, with the reason in *error, when the words do not make a range the log can be
// searched for (one end only, a bad date, From after To, To after today, shifts without a range,
// one shift or more than three).
std::optional<comms::ReportRequest> usageRequest(const UsageRange& range,
                                                 const reports::CalendarDate& today,
                                                 std::string* error);

}  // namespace qelto::cli
