// The calibration page's rules: speed rounding, the checks on take-in, the American flow text,
// and the save that converts doses and run times when a pump's calibrated state changes.
#include "comms/pump_calibration.h"

#include <gtest/gtest.h>

namespace qelto::comms {
namespace {

TEST(PumpCalibration, TakeInRefusesSpeedsOutsideTheRangeAndFlowsBeyondSixteenBits) {
    CalibrationPage page;
    page.pumpCount = 4;
    EXPECT_FALSE(checkPage(page));
    page.speed[2] = 25;
    const auto slow = checkPage(page);
    ASSERT_TRUE(slow);
    EXPECT_EQ(slow->textId, kMsgSpeedOutOfRange);
    EXPECT_EQ(slow->pump, 3);
    // A pump not fitted, or any pump of a fixed-speed unit, has no speed to check.
    page.speed[2] = 100;
    page.speed[7] = 0;
    EXPECT_FALSE(checkPage(page));
    page.fixedSpeed = true;
    page.speed[0] = 0;
    EXPECT_FALSE(checkPage(page));
    page.calibration[9] = 65536;
    const auto big = checkPage(page);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->textId, kMsgFlowTooLarge);
    EXPECT_EQ(big->pump, 10);
}

TEST(PumpCalibration, AmericanFlowsShowAndTakeHundredths) {
    EXPECT_EQ(calibrationText(120, false), "120");
    EXPECT_EQ(calibrationText(120, true), "  1.20");
    EXPECT_EQ(calibrationText(123456, true), "1234.56");
    EXPECT_EQ(parseCalibrationText("1.2", true), 120u);  // not 119, as 1.2 * 100 in floats
    EXPECT_EQ(parseCalibrationText(" 4.567 ", true), 456u);
    EXPECT_EQ(parseCalibrationText("7", true), 700u);
    EXPECT_EQ(parseCalibrationText(".5", true), 50u);
    EXPECT_EQ(parseCalibrationText("120", false), 120u);
    for (const char* bad : {"", "-1", "1.5x", "abc", "1,5", "."}) {
        EXPECT_FALSE(parseCalibrationText(bad, true)) << bad;
    }
    EXPECT_FALSE(parseCalibrationText("1.5", false));
    EXPECT_FALSE(parseCalibrationText("99999999999", false));
}

TEST(PumpCalibration, SavingACalibrationTurnsRunTimesIntoDosesAndBack) {
    model::CProgData record{};
    record.programs[0][0][1].runTime = {0, 30, 0};
    record.programs[19][9][1].runTime = {1, 15, 0};
    record.programs[3][2][4].dose = 60;  // pump 5, calibrated at 120
    record.programs[3][3][4].dose = 100;
    record.pumpCalibration[4] = 120;
    record.pumpCalibration[6] = 80;
    record.programs[3][3][6].dose = 55;  // stays: calibrated before and after

    CalibrationPage page;
    loadFromRecord(page, record);
    page.calibration[1] = 120;
    page.calibration[4] = 0;
    page.calibration[6] = 90;
    page.speed[1] = 65;
    saveToRecord(page, record);

    EXPECT_EQ(record.programs[0][0][1].dose, 60u);
    EXPECT_EQ(record.programs[19][9][1].dose, 150u);
    EXPECT_EQ(record.programs[3][2][4].runTime, (model::MinSec{0, 30, 0}));
    EXPECT_EQ(record.programs[3][3][4].runTime, (model::MinSec{0, 50, 0}));
    EXPECT_EQ(record.programs[3][3][6].dose, 55u);
    EXPECT_EQ(record.pumpCalibration[1], 120u);
    EXPECT_EQ(record.pumpCalibration[4], 0u);
    EXPECT_EQ(record.pumpSpeed[1], 65);
}

TEST(PumpCalibration, RunTimesNeverShowSixtySecondsOrWrapRound) {
    // 59.6 s would round to "0:60".
    EXPECT_EQ(runTimeForDose(149, 150), (model::MinSec{1, 0, 0}));
    EXPECT_EQ(runTimeForDose(60000, 1), (model::MinSec{255, 59, 0}));
    EXPECT_EQ(doseForRunTime(7, {2, 10, 0}), 15u);  // 15.17 + 0.5
}

}  // namespace
}  // namespace qelto::comms
