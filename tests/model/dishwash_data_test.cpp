#include "model/dishwash_data.h"

#include <gtest/gtest.h>

#include "model/archive.h"

namespace qelto::model {
namespace {

TEST(DishWashData, ResetForModeZeroSlowsPumpTwo) {
    CDishWashViewData d;
    d.Reset(0, 0);
    EXPECT_EQ(d.DW_UnitMode, 0);
    EXPECT_EQ(d.DW_UnitType, 0);
    EXPECT_EQ(d.DW_PumpSpeed, (std::array<std::uint8_t, 3>{100, 75, 100}));
    EXPECT_EQ(textOf(d.DW_SerialNo), "00000000");
    EXPECT_EQ(d.DW_Pin, (std::array<std::uint16_t, 3>{6179, 7159, 7318}));
    EXPECT_EQ(d.DW_ICRunTime, (MinSec{0, 30, 0}));
    EXPECT_EQ(d.DW_ProbeInitialDelay, (MinSec{3, 0, 0}));
    EXPECT_EQ(d.DW_ProbeAlarmDelay, (MinSec{5, 0, 0}));
    EXPECT_EQ(d.DW_ProbeConcentration, 170);
    EXPECT_EQ(d.DW_IOPercent, (std::array<std::uint8_t, 4>{100, 100, 100, 100}));
}

TEST(DishWashData, ResetAppliesTheChangesOfEachMode) {
    CDishWashViewData d;
    d.Reset(1, 1);
    EXPECT_EQ(d.DW_ProbeInitialDelay, (MinSec{5, 0, 0}));
    EXPECT_EQ(d.DW_ProbeAlarmDelay, (MinSec{10, 0, 0}));
    EXPECT_EQ(d.DW_PumpSpeed[1], 25);
    EXPECT_EQ(d.DW_PumpRunTime[0], (MinSec{0, 2, 0}));
    EXPECT_EQ(d.DW_PumpOffTime[0], (MinSec{0, 1, 0}));
    EXPECT_EQ(d.DW_PumpRunTime[1], (MinSec{0, 1, 0}));
    EXPECT_EQ(d.DW_PumpOffTime[1], (MinSec{0, 0, 0}));

    d.Reset(2, 0);
    EXPECT_EQ(d.DW_ICRunTime, (MinSec{1, 0, 0}));
    EXPECT_EQ(d.DW_ICDelayTime, (MinSec{5, 0, 0}));
    EXPECT_EQ(d.DW_PumpOffTime[0], (MinSec{1, 0, 0}));
    EXPECT_EQ(d.DW_PumpRunTime[2], (MinSec{0, 5, 0}));

    d.Reset(3, 0);
    EXPECT_EQ(d.DW_PumpSpeed, (std::array<std::uint8_t, 3>{80, 80, 80}));

    d.Reset(7, 0);
    EXPECT_EQ(d.DW_PumpSpeed, (std::array<std::uint8_t, 3>{100, 100, 100}));
}

TEST(DishWashData, OutputTimesKeepTheirTwoNumbersThroughTheFile) {
    CDishWashViewData d;
    d.Reset(0, 0);
    d.DW_IOTime[2] = {34, 0, 12};  // shown as 12:34
    d.DW_IODuration[3] = {5, 0, 1};
    std::uint32_t view = 4;
    Archive out = Archive::forStoring();
    d.Serialize(out, view);

    CDishWashViewData loaded;
    loaded.Reset(0, 0);
    loaded.DW_NamesFormat = 1;
    std::uint32_t loadedView = 0;
    Archive in = Archive::forLoading(out.stored());
    loaded.Serialize(in, loadedView);
    EXPECT_EQ(loaded.DW_IOTime[2].third, 12);
    EXPECT_EQ(loaded.DW_IOTime[2].minutes, 34);
    EXPECT_EQ(loaded.DW_IODuration[3].third, 1);
    EXPECT_EQ(loaded.DW_IODuration[3].minutes, 5);
    EXPECT_EQ(loadedView, 4u);
}

}  // namespace
}  // namespace qelto::model
