// What a report request names: which report, and whether it draws from the document or the unit.
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

// Source 1 was never given a meaning.
enum ReportSource : std::uint8_t {
    REP_FROM_MEMORY = 0,  // the document's configuration
    REP_FROM_UNNAMED = 1,
    REP_FROM_USB_UNIT = 2,  // what was just read from a connected unit
};

}  // namespace qelto::reports
