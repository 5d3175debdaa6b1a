#include "model/unit_types.h"

#include <gtest/gtest.h>

namespace qelto::model {
namespace {

TEST(UnitTypes, EveryLookupIsBounded) {
    // Codes the table has no row for show themselves and count as ten pumps.
    EXPECT_EQ(findUnitModel(10), nullptr);
    EXPECT_EQ(unitModelName(15), "15");
    EXPECT_EQ(unitModelName(255), "255");
    EXPECT_EQ(unitPumpCount(255), 10);
}

}  // namespace
}  // namespace qelto::model
