// The usage a legacy laundry unit reports after command 0xF2: pump and cycle totals of the unit
// and of each program it has used, then its general data and, from software 1.10, its comments
// and program names. Kept as the unit sent it, for the usage report to lay out.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "legacy/dishwash_stream.h"
#include "legacy/legacy_link.h"
#include "legacy/unit_texts.h"

namespace qelto::legacy {

inline constexpr std::size_t kUsagePumps = 10;
inline constexpr std::size_t kUsageTotalsRow = 20;

// A pump's usage total in three parts: for a timed pump hours, minutes and seconds; for a
// calibrated one a volume of high x 65536 + middle x 256 + low.
struct UsageTotal {
    std::uint16_t high = 0;
    std::uint8_t middle = 0;
    std::uint8_t low = 0;
    friend bool operator==(const UsageTotal&, const UsageTotal&) = default;
};

struct UsageRecord {
    std::array<UsageTotal, kUsagePumps> usage{};
    std::array<std::uint32_t, kUsagePumps> flowRate{};  // totals row only
    std::array<std::uint8_t, kUsagePumps> calibrationDay{};
    std::array<std::uint8_t, kUsagePumps> calibrationMonth{};
    std::array<std::uint8_t, kUsagePumps> calibrationYear{};  // year - 2000
    std::array<std::uint16_t, kUsagePumps> cycles{};
};

struct LegacyUsage {
    std::uint32_t pumpCount = 0;
    std::array<std::uint8_t, kLegacyPrograms> programPresent{};
    std::uint32_t totalCycles = 0;
    // Programs 1..20, then the unit's totals.
    std::array<UsageRecord, kLegacyPrograms + 1> records{};
    DishwashGeneral general;
    std::string comments;
    LegacyProgramNames programNames;
};

// The counters and the general data that follow them. False when a byte does not come or the
// unit claims more pumps than a record holds.
bool parseLegacyUsage(const ByteSource& in, LegacyUsage& usage);

// What follows command 0xF2 on the link: the stream, then for 1.10 units the comments and names.
bool receiveLegacyUsage(LegacyLink& link, LegacyUsage& usage);

}  // namespace qelto::legacy
