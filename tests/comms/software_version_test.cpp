// Deciding whether a unit's software is new enough for a packet: equal counts, and the more
// significant parts win over later ones.
#include "comms/software_version.h"

#include <gtest/gtest.h>

namespace qelto::comms {
namespace {

TEST(SoftwareVersionOrder, EqualIsNewEnoughAndMoreSignificantPartsWin) {
    const struct {
        SoftwareVersion unit, needed;
        bool newEnough;
    } cases[] = {{kVersion105, kVersion105, true},      {{'1', '0', '4'}, kVersion105, false},
                 {{'1', '0', '6'}, kVersion107, false}, {{'1', '1', '0'}, kVersion107, true},
                 {{'2', '0', '0'}, kVersion130, true},  {{'1', '2', '9'}, kVersion130, false},
                 {{'0', '9', '9'}, kVersion105, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(versionAtLeast(c.unit, c.needed), c.newEnough)
            << c.unit[0] << c.unit[1] << c.unit[2];
    }
}

}  // namespace
}  // namespace qelto::comms
