// What a simulated unit knows about its own use: a running counter per program and pump, and
// the usage log, 32-bit words in the order the unit wrote them (oldest first). Each dosing event
// goes into the log as its pump records followed by the date record that stamps them, so a
// reader going backwards meets the date first.
//
// Log words (bit 0 lowest): bits 0-1 type. Type 0, a pump record: bits 2-6 program (0-based),
// 7-10 pump (0-based), 11-31 dose. Type 1, a date record: bits 2-6 day, 7-10 month, 11-16
// year - 2000, 17-31 time of day in units of 4 seconds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qelto::sim {

inline constexpr std::size_t kCounterPrograms = 21;  // 0 = every program together, then 1-20
inline constexpr std::size_t kCounterPumps = 10;
inline constexpr std::uint32_t kMaxDose = (1U << 21) - 1;

// A calibrated pump's doses and sums are millilitres. A time-dosed pump's are run times, hours <<
// 16 | minutes << 8 | seconds, and the unit carries 60 seconds into a minute and 60 minutes into
// an hour as it adds them up.
struct UsageCounter {
    std::uint16_t cycles = 0;
    std::uint32_t amount = 0;  // summed doses
    friend bool operator==(const UsageCounter&, const UsageCounter&) = default;
};
using TimedPumps = std::array<bool, kCounterPumps>;

struct UsageMemory {
    std::array<std::array<UsageCounter, kCounterPumps>, kCounterPrograms> counters{};
    std::vector<std::uint32_t> log;
};

struct UnitDate {
    int year = 2026;  // 2000-2063
    unsigned month = 1;
    unsigned day = 1;
};

std::uint32_t dateWord(const UnitDate& date, std::uint32_t secondsOfDay);
// program 0-19, pump 0-9
std::uint32_t pumpWord(std::uint8_t program, std::uint8_t pump, std::uint32_t dose);

// Appends one dosing event to the log and the counters, as the unit does at the end of a dose;
// timed says whether the pump is time-dosed.
void recordDose(UsageMemory& usage, const UnitDate& date, std::uint32_t secondsOfDay,
                std::uint8_t program, std::uint8_t pump, std::uint32_t dose, bool timed);

// A plausible history from a seed: `days` days from `first` on, a few washes a day at times on
// the unit's 4-second grid, each dosing one to three pumps. The same seed gives the same log.
struct UsagePlan {
    std::uint32_t seed = 1;
    UnitDate first;
    unsigned days = 30;
    unsigned washesPerDay = 4;
    TimedPumps timed{};  // their doses are run times of up to 8:20
};
void generateUsage(const UsagePlan& plan, UsageMemory& usage);

}  // namespace qelto::sim
