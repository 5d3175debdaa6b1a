// What a report request names (which report, from where) and what is done with it: a report
// generator to run, a message to show instead, or nothing at all.
#pragma once

#include <cstdint>

namespace qelto::reports {

enum ReportKind : std::uint8_t {
    REP_TYPE_DWASH_SETTINGS = 0,
    REP_TYPE_DWASH_CYCLES = 1,
    REP_TYPE_LAUNDRY_SETTINGS = 2,
    REP_TYPE_LAUNDRY_CYCLES = 3,
    REP_TYPE_ANY_SETTINGS = 4,  // the unit's family is not known yet
    REP_TYPE_ANY_CYCLES = 5,
};

// Source 1 was never given a meaning; asking for it only earns a message.
enum ReportSource : std::uint8_t {
    REP_FROM_MEMORY = 0,  // the document's configuration
    REP_FROM_UNNAMED = 1,
    REP_FROM_USB_UNIT = 2,  // what was just read from a connected unit
};

enum class ReportAction : std::uint8_t {
    Nothing,
    DishwashSettings,
    LaundrySettings,
    LaundryUsage,
    MessageNoSuchSource,        // message string 252
    MessageNoDishwashFromUnit,  // message string 370
};

struct ReportRoute {
    ReportAction action = ReportAction::Nothing;
    bool showReportView = false;            // switch to the report view before the generator runs
    std::uint8_t source = REP_FROM_MEMORY;  // what the generator is told it draws from
    friend bool operator==(const ReportRoute&, const ReportRoute&) = default;
};

ReportRoute routeReport(std::uint8_t kind, std::uint8_t source);

// The message numbers of the refusals, for the caller that shows them.
inline constexpr int kMessageNoSuchSource = 252;
inline constexpr int kMessageNoDishwashFromUnit = 370;

}  // namespace qelto::reports
