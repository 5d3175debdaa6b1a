#include "legacy/device_info.h"

#include <gtest/gtest.h>

namespace qelto::legacy {
namespace {

const DeviceInfo kVersion110{kInfoReceived, 11, '1', '1', '0'};

TEST(VersionAtLeast, Version110MeetsTheSameAndEarlierVersions) {
    EXPECT_TRUE(VersionAtLeast(kVersion110, '1', '1', '0'));
    EXPECT_TRUE(VersionAtLeast(kVersion110, '1', '0', '9'));
}

TEST(VersionAtLeast, Version110FailsLaterVersions) {
    EXPECT_FALSE(VersionAtLeast(kVersion110, '1', '2', '0'));
    EXPECT_FALSE(VersionAtLeast(kVersion110, '1', '1', '1'));
    EXPECT_FALSE(VersionAtLeast(kVersion110, '2', '0', '0'));
}

TEST(VersionAtLeast, ComparesCharactersNotNumbers) {
    // 1.09 is below 1.10 even though 9 > 0 in the last place: the middle character decides.
    const DeviceInfo version109{kInfoReceived, 11, '1', '0', '9'};
    EXPECT_FALSE(VersionAtLeast(version109, '1', '1', '0'));
}

TEST(VersionAtLeast, AUnitThatNeverSignedOnMeetsNothing) {
    const DeviceInfo never{kInfoNoSignOn, 11, '9', '9', '9'};
    EXPECT_FALSE(deviceInfoValid(never));
    EXPECT_FALSE(VersionAtLeast(never, '0', '0', '0'));
}

TEST(VersionAtLeast, ALegacyUnitWithoutInformationIsBelow110) {
    const DeviceInfo legacy{kInfoLegacyWithoutInformation, kUnknownUnitType, 0, 0, 0};
    EXPECT_TRUE(deviceInfoValid(legacy));
    EXPECT_FALSE(VersionAtLeast(legacy, '1', '1', '0'));
}

TEST(VersionText, IsMajorDotMinorFromTheThreeCharacters) {
    EXPECT_EQ(versionText(kVersion110), "1.10");
    EXPECT_EQ(versionText(DeviceInfo{kInfoReceived, 0, '2', '0', '7'}), "2.07");
}

TEST(VersionText, StaysShortForBytesThatAreNotDigits) {
    EXPECT_EQ(versionText(DeviceInfo{kInfoLegacyWithoutInformation, 0xFF, 0, 0, 0}), "208.208208");
}

TEST(UnitTypeClasses, SplitAt20And28OnlyAfterASignOn) {
    EXPECT_TRUE(unitTypeBelow20(DeviceInfo{kInfoReceived, 19, '1', '0', '0'}));
    EXPECT_FALSE(unitTypeBelow20(DeviceInfo{kInfoReceived, 20, '1', '0', '0'}));
    EXPECT_FALSE(unitTypeBelow20(DeviceInfo{kInfoNoSignOn, 3, 0, 0, 0}));

    EXPECT_TRUE(unitTypeFrom20To28(DeviceInfo{kInfoReceived, 20, '1', '0', '0'}));
    EXPECT_TRUE(unitTypeFrom20To28(DeviceInfo{kInfoReceived, 28, '1', '0', '0'}));
    EXPECT_FALSE(unitTypeFrom20To28(DeviceInfo{kInfoReceived, 29, '1', '0', '0'}));
    // A legacy unit without information has type 0xFF: in neither class.
    EXPECT_FALSE(unitTypeBelow20(DeviceInfo{kInfoLegacyWithoutInformation, 0xFF, 0, 0, 0}));
}

TEST(UnitTypeClasses, Types22And27AreRecognisedEvenBeforeSignOn) {
    EXPECT_TRUE(unitTypeIs22Or27(DeviceInfo{kInfoNoSignOn, 22, 0, 0, 0}));
    EXPECT_TRUE(unitTypeIs22Or27(DeviceInfo{kInfoReceived, 27, '1', '0', '0'}));
    EXPECT_FALSE(unitTypeIs22Or27(DeviceInfo{kInfoReceived, 23, '1', '0', '0'}));
}

}  // namespace
}  // namespace qelto::legacy
