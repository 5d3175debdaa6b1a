#include "sim/usage_memory.h"

#include <chrono>
#include <random>

namespace qelto::sim {

std::uint32_t dateWord(const UnitDate& date, std::uint32_t secondsOfDay) {
    return 1U | (date.day << 2) | (date.month << 7) |
           (static_cast<std::uint32_t>(date.year - 2000) << 11) | ((secondsOfDay / 4) << 17);
}

std::uint32_t pumpWord(std::uint8_t program, std::uint8_t pump, std::uint32_t dose) {
    return (static_cast<std::uint32_t>(program) << 2) | (static_cast<std::uint32_t>(pump) << 7) |
           ((dose & kMaxDose) << 11);
}

namespace {

std::uint32_t secondsOf(std::uint32_t hms) {
    return (hms >> 16) * 3600 + ((hms >> 8) & 0xFFU) * 60 + (hms & 0xFFU);
}

std::uint32_t runTimeOf(std::uint32_t total) {
    return (total / 3600) << 16 | (total / 60 % 60) << 8 | total % 60;
}

}  // namespace

void recordDose(UsageMemory& usage, const UnitDate& date, std::uint32_t secondsOfDay,
                std::uint8_t program, std::uint8_t pump, std::uint32_t dose, bool timed) {
    dose &= kMaxDose;
    usage.log.push_back(pumpWord(program, pump, dose));
    usage.log.push_back(dateWord(date, secondsOfDay));
    for (const std::size_t row : {std::size_t{0}, std::size_t{program} + 1U}) {
        UsageCounter& counter = usage.counters.at(row).at(pump);
        counter.cycles = static_cast<std::uint16_t>(counter.cycles + 1);
        counter.amount =
            timed ? runTimeOf(secondsOf(counter.amount) + secondsOf(dose)) : counter.amount + dose;
    }
}

void generateUsage(const UsagePlan& plan, UsageMemory& usage) {
    using namespace std::chrono;
    std::mt19937 random(plan.seed);
    // Raw draws only: the standard distributions differ between libraries, and a seed must
    // give the same log everywhere.
    auto draw = [&random](std::uint32_t below) {
        return below == 0 ? 0U : static_cast<std::uint32_t>(random() % below);
    };
    sys_days when = year_month_day{year{plan.first.year}, month{plan.first.month},
                                   std::chrono::day{plan.first.day}};
    for (unsigned d = 0; d < plan.days; ++d, when += days{1}) {
        const year_month_day ymd{when};
        if (ymd.year() > year{2063}) {
            break;  // the log's year field ends there
        }
        const UnitDate date{static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                            static_cast<unsigned>(ymd.day())};
        std::uint32_t seconds = 6 * 3600 + 4 * draw(900);
        for (unsigned w = 0; w < plan.washesPerDay && seconds < 86400; ++w) {
            const auto program = static_cast<std::uint8_t>(draw(20));
            const std::uint32_t pumps = 1 + draw(3);
            for (std::uint32_t p = 0; p < pumps; ++p) {
                const auto pump = static_cast<std::uint8_t>(draw(10));
                const std::uint32_t amount = 1 + draw(500);
                const bool timed = plan.timed.at(pump);
                recordDose(usage, date, seconds, program, pump, timed ? runTimeOf(amount) : amount,
                           timed);
            }
            seconds += 4 * (900 + draw(2700));
        }
    }
}

}  // namespace qelto::sim
