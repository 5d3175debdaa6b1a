#include "sim/usage_state.h"

#include <cstdio>

#include "sim/json_fields.h"

namespace qelto::sim {

using namespace json_fields;

namespace {

UnitDate parseFirstDay(const json& plan) {
    UnitDate date;
    if (!plan.contains("first")) {
        return date;
    }
    const json& text = plan.at("first");
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    char tail = 0;
    if (!text.is_string() ||
        std::sscanf(text.get<std::string>().c_str(), "%d-%u-%u%c", &year, &month, &day, &tail) !=
            3 ||
        year < 2000 || year > 2063 || month < 1 || month > 12 || day < 1 || day > 31) {
        throw StateError("usage.generate.first must be a date YYYY-MM-DD from 2000 to 2063");
    }
    return {year, month, day};
}

void applyPlan(const json& usageState, UsageMemory& usage, const TimedPumps& timed) {
    if (!usageState.contains("generate")) {
        return;
    }
    const json& plan = object(usageState, "generate");
    UsagePlan usagePlan;
    usagePlan.timed = timed;
    usagePlan.first = parseFirstDay(plan);
    number(plan, "seed", usagePlan.seed);
    number(plan, "days", usagePlan.days);
    number(plan, "washesPerDay", usagePlan.washesPerDay);
    // A day's washes end before midnight anyway; these only keep a typo from filling the disk.
    if (usagePlan.days > 20000 || usagePlan.washesPerDay > 20) {
        throw StateError("usage.generate asks for too many days or washes");
    }
    generateUsage(usagePlan, usage);
}

}  // namespace

json usageToJson(const UsageMemory& usage) {
    json counters = json::array();
    for (std::size_t program = 0; program < kCounterPrograms; ++program) {
        for (std::size_t pump = 0; pump < kCounterPumps; ++pump) {
            const UsageCounter& c = usage.counters[program][pump];
            if (c != UsageCounter{}) {
                counters.push_back({{"program", program},
                                    {"pump", pump},
                                    {"cycles", c.cycles},
                                    {"amount", c.amount}});
            }
        }
    }
    return {{"log", usage.log}, {"counters", counters}};
}

void applyUsage(const json& state, UsageMemory& usage, const TimedPumps& timed) {
    if (!state.contains("usage")) {
        return;
    }
    const json& usageState = object(state, "usage");
    applyPlan(usageState, usage, timed);
    if (usageState.contains("log")) {
        const json& log = usageState.at("log");
        if (!log.is_array()) {
            throw StateError("usage.log must be a list of words");
        }
        for (const json& word : log) {
            usage.log.push_back(toNumber<std::uint32_t>(word, "usage.log"));
        }
    }
    if (const json* list = array(usageState, "counters", kCounterPrograms * kCounterPumps)) {
        for (const json& entry : *list) {
            std::uint8_t program = 0;
            std::uint8_t pump = 0;
            number(entry, "program", program);
            number(entry, "pump", pump);
            if (program >= kCounterPrograms || pump >= kCounterPumps) {
                throw StateError("usage.counters: program is 0-20 and pump 0-9");
            }
            UsageCounter& counter = usage.counters[program][pump];
            number(entry, "cycles", counter.cycles);
            number(entry, "amount", counter.amount);
        }
    }
}

}  // namespace qelto::sim
