// The calibration page's unit work against qelto-unitsim: what reaches the unit's memory, what
// the page is told, and that a failure is never reported as success.
#include <gtest/gtest.h>

#include "comms/calibration_session.h"
#include "driver_on_sim.h"

namespace qelto::test {
namespace {

using comms::CalibrationPage;
using comms::CalibrationSession;

class CalibrationOnSim : public DriverOnSim {};

TEST_F(CalibrationOnSim, ReadsAndWritesFlowsAndSpeedsKeepingTheRestOfTheUnit) {
    start(unitMemory());
    auto c = context();
    CalibrationSession session(c);
    CalibrationPage page;
    const auto read = session.readFromUnit(page);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.message, comms::kMsgCalibrationRead);
    EXPECT_EQ(page.calibration[1], 120u);
    EXPECT_EQ(page.speed[0], 55u);
    EXPECT_EQ(page.speed[1], 65u);
    EXPECT_FALSE(page.fixedSpeed);

    page.calibration[0] = 250;
    page.speed[1] = 80;
    const auto written = session.writeToUnit(page);
    EXPECT_TRUE(written.ok);
    EXPECT_EQ(written.message, comms::kMsgCalibrationWritten);

    page.speed[0] = 20;  // refused before anything is sent
    const int before = static_cast<int>(sim->sim.requests().size());
    const auto refused = session.writeToUnit(page);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, comms::kMsgSpeedOutOfRange);
    EXPECT_EQ(refused.pump, 1);
    EXPECT_EQ(static_cast<int>(sim->sim.requests().size()), before);

    const auto unit = unitAfter();
    EXPECT_EQ(unit["calibration"][0]["volume"], 250);
    EXPECT_EQ(unit["calibration"][1]["volume"], 120);
    EXPECT_EQ(unit["calibration"][0]["day"], 15);  // dated by the session's clock
    EXPECT_EQ(unit["globals"]["pumpSpeeds"][1], 80);
    EXPECT_EQ(unit["globals"]["pumpSpeeds"][0], 55);
    EXPECT_EQ(unit["globals"]["flushValveTime"], 45);
    EXPECT_EQ(unit["globals"]["resetDelay"], 90);
}

TEST_F(CalibrationOnSim, ARunStartsAtThePageSpeedAndAnEarlyStopSendsTheStopCommand) {
    start(unitMemory());
    auto c = context();
    CalibrationSession session(c);
    CalibrationPage page;
    ASSERT_TRUE(session.readFromUnit(page).ok);
    EXPECT_EQ(session.startRun(page, 0).message, comms::kMsgNoPumpChosen);
    page.speed[2] = 15;
    EXPECT_EQ(session.startRun(page, 3).message, comms::kMsgSpeedTooLowToRun);
    EXPECT_TRUE(session.startRun(page, 2).ok);
    int ticks = 0;
    EXPECT_TRUE(comms::waitForPumpRun([&ticks] { return ticks == 3; }, [&ticks](int) { ++ticks; },
                                      std::chrono::milliseconds(5000),
                                      [](std::chrono::milliseconds) {}));
    EXPECT_TRUE(session.stopRun().ok);
    // A run left to its end asks nothing more of the unit.
    EXPECT_FALSE(comms::waitForPumpRun([] { return false; }, {}, std::chrono::milliseconds(250)));

    const auto runs = unitAfter()["pumpRuns"];
    ASSERT_EQ(runs.size(), 2u) << runs.dump();
    EXPECT_EQ(runs[0]["pump"], 1);
    EXPECT_EQ(runs[0]["seconds"], 60);
    EXPECT_EQ(runs[0]["speed"], 65);
    EXPECT_EQ(runs[1]["seconds"], 0);
    EXPECT_EQ(runs[1]["speed"], 0);
}

TEST_F(CalibrationOnSim, ARefusedUnlockFailsEveryStepWithItsOwnMessage) {
    start(unitMemory());
    data.connection.rememberedPin = 4321;
    auto c = context();
    CalibrationSession session(c);
    CalibrationPage page;
    page.calibration[0] = 77;
    const auto read = session.readFromUnit(page);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.message, comms::kMsgCalibrationReadFailed);
    EXPECT_EQ(page.calibration[0], 77u);  // the page keeps what it showed
    EXPECT_EQ(session.startRun(page, 1).message, comms::kMsgRunUnlockFailed);
    EXPECT_EQ(session.writeToUnit(page).message, comms::kMsgCalibrationWriteFailed);
    EXPECT_EQ(session.resetWashes().message, comms::kMsgResetWashesFailed);
    EXPECT_EQ(session.resetCounters().message, comms::kMsgResetCountersFailed);
    EXPECT_FALSE(session.stopRun().ok);
    EXPECT_TRUE(unitAfter()["pumpRuns"].empty());
}

}  // namespace
}  // namespace qelto::test
