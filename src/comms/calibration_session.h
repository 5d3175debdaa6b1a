// The pump calibration page's work on a connected unit: reading and writing flows and speeds,
// starting and stopping a measuring run, and the resets. The connection is open and unlocked
// already; each method unlocks again first, because a unit locks itself after a while without
// traffic and an engineer may spend minutes measuring. Nothing here locks the unit: the
// connection does that when it closes.
//
// Every method blocks until the unit has answered and never shows anything itself: the result
// names the message (by string number) for the caller to show, and only the PIN question goes
// through the context's prompts. The 60-second run is timed by the caller, since a window and a
// terminal wait in different ways.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>

#include "comms/operation_driver.h"
#include "comms/pump_calibration.h"

namespace qelto::comms {

// Messages of the page, by string number.
inline constexpr int kMsgResetDone = 331;
inline constexpr int kMsgCalibrationRead = 343;
inline constexpr int kMsgCalibrationWritten = 344;
inline constexpr int kAskRoundedSpeed = 347;  // formatted with the rounded speed
inline constexpr int kMsgCalibrationReadFailed = 348;
inline constexpr int kMsgCalibrationWriteFailed = 349;
inline constexpr int kMsgNoPumpChosen = 350;
inline constexpr int kMsgNoPumpChosenCaption = 351;
inline constexpr int kMsgRunUnlockFailed = 352;
inline constexpr int kMsgSpeedTooLowToRun = 353;
inline constexpr int kMsgSpeedTooLowCaption = 354;
inline constexpr int kAskStartRun = 355;
inline constexpr int kStatusPumpRunning = 368;
inline constexpr int kMsgResetWashesFailed = 398;
inline constexpr int kMsgResetCountersFailed = 399;
inline constexpr int kMsgRunStartFailed = 3902;
inline constexpr int kMsgRunStopFailed = 3903;
inline constexpr int kMsgMemoryErased = 3904;
inline constexpr int kMsgMemoryEraseFailed = 3905;

// How long one measuring run lasts, and the pace its progress bar moves at (630 steps of 100 ms,
// so the bar is never full before the unit has stopped the pump).
inline constexpr std::chrono::seconds kPumpRunLength{60};
inline constexpr std::chrono::milliseconds kPumpRunTick{100};
inline constexpr int kPumpRunBarSteps = 630;

struct CalibrationResult {
    bool ok = false;
    bool cancelled = false;  // the engineer cancelled the PIN question or the link; no message
    int message = 0;         // string number to show, 0 for none
    int caption = 0;         // its caption, 0 for the front end's own
    int pump = 0;            // the pump (1-based) a page check names, else 0
    MessageIcon icon = MessageIcon::Information;
};

class CalibrationSession {
  public:
    explicit CalibrationSession(OperationContext& context);
    CalibrationSession(const CalibrationSession&) = delete;
    CalibrationSession& operator=(const CalibrationSession&) = delete;

    // Flows, speeds, pump count and the fixed-speed flag of the unit. The page is changed only
    // when everything was read.
    CalibrationResult readFromUnit(CalibrationPage& page);
    // Flows (dated today) and speeds into the unit, keeping every other setting the unit has.
    // A page that fails its checks is refused before anything is sent.
    CalibrationResult writeToUnit(const CalibrationPage& page);
    // Starts pump (1-based) for kPumpRunLength at the page's speed. The engineer has confirmed
    // already (kAskStartRun); the unit stops the pump by itself when the time is up.
    CalibrationResult startRun(const CalibrationPage& page, int pump);
    // Stops a run before its time.
    CalibrationResult stopRun();
    CalibrationResult resetWashes();
    CalibrationResult resetCounters();
    CalibrationResult eraseSettingsMemory();

    OperationContext& context() { return ctx_; }

  private:
    bool unlock(protocol::UnitChannel& channel);
    CalibrationResult outcome(const protocol::UnitChannel& channel, bool ok, int okMessage,
                              int failMessage, int caption = 0) const;

    OperationContext& ctx_;
};

// Waits out a run in kPumpRunTick steps, calling onTick after each, until length has passed or
// aborted() turns true. Returns true when it was aborted.
bool waitForPumpRun(const std::function<bool()>& aborted, const std::function<void(int)>& onTick,
                    std::chrono::milliseconds length = kPumpRunLength,
                    const protocol::SleepFunction& sleep = protocol::realSleep);

}  // namespace qelto::comms
