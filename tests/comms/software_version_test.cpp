// Deciding whether a unit's software is new enough for a packet.
#include "comms/software_version.h"

#include <gtest/gtest.h>

namespace qelto::comms {
namespace {

TEST(SoftwareVersionOrder, EqualCountsAsNewEnough) {
    EXPECT_TRUE(versionAtLeast(kVersion105, kVersion105));
}

TEST(SoftwareVersionOrder, OlderBuildIsOlder) {
    EXPECT_FALSE(versionAtLeast({'1', '0', '4'}, kVersion105));
    EXPECT_FALSE(versionAtLeast({'1', '0', '6'}, kVersion107));
}

TEST(SoftwareVersionOrder, MoreSignificantPartsWinOverLaterOnes) {
    EXPECT_TRUE(versionAtLeast({'1', '1', '0'}, kVersion107));
    EXPECT_TRUE(versionAtLeast({'2', '0', '0'}, kVersion130));
    EXPECT_FALSE(versionAtLeast({'1', '2', '9'}, kVersion130));
    EXPECT_FALSE(versionAtLeast({'0', '9', '9'}, kVersion105));
}

}  // namespace
}  // namespace qelto::comms
