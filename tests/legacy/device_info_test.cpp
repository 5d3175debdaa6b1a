#include "legacy/device_info.h"

#include <gtest/gtest.h>

namespace qelto::legacy {
namespace {

// The version is compared character by character, the middle one first deciding (1.09 < 1.10);
// a unit that never signed on meets nothing, one without information is below 1.10.
TEST(DeviceInfo, VersionsCompareByCharacterAndOnlyAfterASignOn) {
    const DeviceInfo v110{kInfoReceived, 11, '1', '1', '0'};
    const DeviceInfo v109{kInfoReceived, 11, '1', '0', '9'};
    const DeviceInfo never{kInfoNoSignOn, 11, '9', '9', '9'};
    const DeviceInfo silent{kInfoLegacyWithoutInformation, kUnknownUnitType, 0, 0, 0};
    const struct {
        DeviceInfo unit;
        char a, b, c;
        bool atLeast;
    } rows[] = {{v110, '1', '1', '0', true},   {v110, '1', '0', '9', true},
                {v110, '1', '1', '1', false},  {v110, '2', '0', '0', false},
                {v109, '1', '1', '0', false},  {never, '0', '0', '0', false},
                {silent, '1', '1', '0', false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(versionText(row.unit) + " against " + row.a + row.b + row.c);
        EXPECT_EQ(VersionAtLeast(row.unit, row.a, row.b, row.c), row.atLeast);
    }
    EXPECT_FALSE(deviceInfoValid(never));
    EXPECT_TRUE(deviceInfoValid(silent));
    EXPECT_EQ(versionText(DeviceInfo{kInfoReceived, 0, '2', '0', '7'}), "2.07");
    EXPECT_EQ(versionText(silent), "208.208208") << "bytes that are not digits stay short";
}

// Types split at 20 and 28 only after a sign-on; 22 and 27 are known even before one.
TEST(DeviceInfo, UnitTypeClasses) {
    const auto received = [](std::uint8_t type) {
        return DeviceInfo{kInfoReceived, type, '1', '0', '0'};
    };
    EXPECT_TRUE(unitTypeBelow20(received(19)));
    EXPECT_FALSE(unitTypeBelow20(received(20)));
    EXPECT_FALSE(unitTypeBelow20(DeviceInfo{kInfoNoSignOn, 3, 0, 0, 0}));
    EXPECT_TRUE(unitTypeFrom20To28(received(20)) && unitTypeFrom20To28(received(28)));
    EXPECT_FALSE(unitTypeFrom20To28(received(29)));
    EXPECT_TRUE(unitTypeIs22Or27(DeviceInfo{kInfoNoSignOn, 22, 0, 0, 0}));
    EXPECT_FALSE(unitTypeIs22Or27(received(23)));
}

}  // namespace
}  // namespace qelto::legacy
