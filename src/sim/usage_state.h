// The "usage" part of a laundry unit's --state file and --dump:
//   "usage": {
//     "generate": {"seed": 7, "first": "2026-11-01", "days": 30, "washesPerDay": 4},
//                                   load only: a history made from the seed, added first
//     "log": [1, 2, ...],           the log words, oldest first, any number; added after it
//     "counters": [{"program": 0, "pump": 0, "cycles": 12, "amount": 3400}, ...]
//                                   program 0 = every program together; replaces those cells
//   }
// A dump writes "log" and every counter that is not zero.
#pragma once

#include <nlohmann/json.hpp>

#include "sim/usage_memory.h"

namespace qelto::sim {

nlohmann::json usageToJson(const UsageMemory& usage);
// Throws StateError naming the field that is wrong.
// timed: the pumps that are time-dosed, whose generated doses are run times.
void applyUsage(const nlohmann::json& state, UsageMemory& usage, const TimedPumps& timed = {});

}  // namespace qelto::sim
