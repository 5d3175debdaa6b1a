#include "model/unit_types.h"

#include <gtest/gtest.h>

namespace qelto::model {
namespace {

TEST(UnitTypes, OldCodesTranslateToTheCurrentNumbering) {
    EXPECT_EQ(OldTypeToNewType(0), 0);
    EXPECT_EQ(OldTypeToNewType(5), 5);
    EXPECT_EQ(OldTypeToNewType(6), 10);
    EXPECT_EQ(OldTypeToNewType(11), 15);
    EXPECT_EQ(OldTypeToNewType(12), 12);
    EXPECT_EQ(OldTypeToNewType(28), 28);
    EXPECT_EQ(OldTypeToNewType(29), 255);
    EXPECT_EQ(OldTypeToNewType(255), 255);
}

TEST(UnitTypes, EveryLookupIsBounded) {
    EXPECT_EQ(unitModelName(0), "L1");
    EXPECT_EQ(unitModelName(9), "L10");
    EXPECT_EQ(unitPumpCount(3), 4);
    EXPECT_EQ(unitPumpCount(9), 10);
    // Codes the table has no row for show themselves and count as ten pumps.
    EXPECT_EQ(findUnitModel(10), nullptr);
    EXPECT_EQ(unitModelName(15), "15");
    EXPECT_EQ(unitModelName(255), "255");
    EXPECT_EQ(unitPumpCount(255), 10);
    for (std::uint32_t code = 0; code < kUnitModelCount; ++code) {
        EXPECT_EQ(findUnitModel(code)->pumpsLocked, 0u);
    }
}

}  // namespace
}  // namespace qelto::model
