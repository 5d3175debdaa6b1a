#include "model/unit_type_change.h"

#include <gtest/gtest.h>

namespace qelto::model {
namespace {

class UnitTypeChange : public ::testing::Test {
  protected:
    UnitTypeChange() { doc.onNewDocument(); }
    CProgData config;
    NoPumpNameDefaults names;
    CQeltoDoc doc{config, names};
    UnitTypeRules rules;
};

TEST_F(UnitTypeChange, SixPumpModelOffersOnlyTwoRangesAndResetsTheMissingPumps) {
    config.pumpSpeedRange.fill(1);
    const UnitTypeControls controls = rules.apply(doc, 5, true);  // "L6"
    EXPECT_EQ(config.unitType, 5);
    EXPECT_EQ(doc.pumpCount(), 6u);
    EXPECT_EQ(doc.triggerCount(), 10u);
    EXPECT_FALSE(controls.tenTriggerMode);
    for (std::size_t i = 0; i < kPumps; ++i) {
        EXPECT_EQ(controls.pumps[i].enabled, i < 6) << i;
        EXPECT_FALSE(controls.pumps[i].allSpeedRanges) << i;
        EXPECT_EQ(config.pumpSpeedRange[i], i < 6 ? 1u : 3u) << i;
    }
}

TEST_F(UnitTypeChange, SevenPumpsSwitchToTenTriggerModeForGood) {
    EXPECT_TRUE(rules.apply(doc, 6, true).tenTriggerMode);  // "L7"
    EXPECT_TRUE(rules.apply(doc, 6, true).pumps[0].allSpeedRanges);
    // Back to a small model: the editor keeps all four ranges and ten triggers.
    const UnitTypeControls controls = rules.apply(doc, 1, true);
    EXPECT_TRUE(controls.tenTriggerMode);
    EXPECT_TRUE(controls.pumps[0].allSpeedRanges);
    EXPECT_FALSE(controls.pumps[2].enabled);
}

TEST_F(UnitTypeChange, DefaultSpeedsAreWrittenOnlyWhenTheEngineerChoosesAModel) {
    config.pumpSpeed.fill(55);
    rules.apply(doc, 3, false);
    EXPECT_EQ(config.pumpSpeed[9], 55);
    rules.apply(doc, 3, true);  // the reset default is 80 %
    EXPECT_EQ(config.pumpSpeed[9], 80);
    // A code beyond the table (from an older unit) runs every pump at full speed, ten pumps.
    rules.apply(doc, 15, true);
    EXPECT_EQ(config.pumpSpeed[4], 100);
    EXPECT_EQ(doc.pumpCount(), 10u);
}

}  // namespace
}  // namespace qelto::model
