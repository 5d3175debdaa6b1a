// The simulator's own usage words and counters, checked against the documented layouts by hand.
// Its log and counter replies are read end to end by the report-from-unit test (tests/comms).
#include <gtest/gtest.h>

#include "sim/usage_memory.h"

namespace qelto::sim {
namespace {

TEST(SimUsage, ADoseIsLoggedByTheDocumentedBitsAndCountedByItsPumpsKind) {
    EXPECT_EQ(dateWord({2026, 12, 7}, 28800), 0x3840D61DU);  // 7 Dec 2026 08:00:00
    EXPECT_EQ(dateWord({2026, 12, 7}, 28803), 0x3840D61DU);  // the unit keeps 4-second steps
    EXPECT_EQ(pumpWord(4, 9, 1000), 0x001F4490U);
    UsageMemory usage;
    recordDose(usage, {2026, 12, 7}, 28800, 4, 9, 1000, false);
    EXPECT_EQ(usage.log, (std::vector<std::uint32_t>{0x001F4490U, 0x3840D61DU}));
    EXPECT_EQ(usage.counters[5][9], (UsageCounter{1, 1000}));
    EXPECT_EQ(usage.counters[0][9], (UsageCounter{1, 1000}));
    // A time-dosed pump counts run times: 0:59:50 + 0:00:50 = 1:00:40.
    recordDose(usage, {2026, 12, 7}, 28800, 4, 2, 0x003B32, true);
    recordDose(usage, {2026, 12, 7}, 28800, 4, 2, 0x000032, true);
    EXPECT_EQ(usage.counters[5][2], (UsageCounter{2, 0x010028}));
}

}  // namespace
}  // namespace qelto::sim
