#include "comms/calibration_session.h"

#include <algorithm>

#include "protocol/unit_operations.h"

namespace qelto::comms {

using namespace protocol;

CalibrationSession::CalibrationSession(OperationContext& context) : ctx_(context) {}

bool CalibrationSession::unlock(UnitChannel& channel) {
    return Unlock(ctx_.data, channel, [this] { return ctx_.prompts.askPin(); });
}

CalibrationResult CalibrationSession::outcome(const UnitChannel& channel, bool ok, int okMessage,
                                              int failMessage, int caption) const {
    CalibrationResult result;
    result.ok = ok;
    if (!ok && channel.cancelled()) {
        result.cancelled = true;
        return result;
    }
    result.message = ok ? okMessage : failMessage;
    result.caption = caption;
    result.icon = ok ? MessageIcon::Information : MessageIcon::Error;
    return result;
}

CalibrationResult CalibrationSession::readFromUnit(CalibrationPage& page) {
    UnitChannel channel(ctx_.link);
    // Each failure is noted and the read goes on, so one message covers all of them.
    bool ok = unlock(channel);
    CalibrationPart calibration;
    GlobalsPart globals;
    ok = GetPumpCal(calibration, channel) && ok;
    ok = GetGlobals(globals, channel) && ok;
    if (ok) {
        for (std::size_t i = 0; i < kCalibrationPumps; ++i) {
            page.calibration[i] = calibration.pumps[i].volume;
            page.speed[i] = globals.block2.pumpSpeed[i];
        }
        page.pumpCount = std::min<std::uint32_t>(globals.pumpCount, kCalibrationPumps);
        page.fixedSpeed = isFixedSpeedType(globals.block1.unitType);
    }
    return outcome(channel, ok, kMsgCalibrationRead, kMsgCalibrationReadFailed);
}

CalibrationResult CalibrationSession::writeToUnit(const CalibrationPage& page) {
    if (const auto problem = checkPage(page)) {
        CalibrationResult refused;
        refused.message = problem->textId;
        refused.pump = problem->pump;
        refused.icon = MessageIcon::Warning;
        return refused;
    }
    UnitChannel channel(ctx_.link);
    bool ok = unlock(channel);
    // The calibration and the globals are sent back as the unit has them with only the flows and
    // speeds of its fitted pumps replaced, so nothing else the unit keeps is touched.
    const std::size_t fitted = std::min<std::size_t>(page.pumpCount, kCalibrationPumps);
    CalibrationPart calibration;
    if (GetPumpCal(calibration, channel)) {
        for (std::size_t i = 0; i < fitted; ++i) {
            calibration.pumps[i].volume = static_cast<std::uint16_t>(page.calibration[i]);
        }
        ok = SetPumpCal(calibration, channel, ctx_.clock, ctx_.sleep) && ok;
    } else {
        ok = false;
    }
    if (channel.cancelled()) {
        return outcome(channel, false, 0, 0);
    }
    GlobalsPart globals;
    if (GetGlobals(globals, channel)) {
        for (std::size_t i = 0; i < fitted; ++i) {
            globals.block2.pumpSpeed[i] = static_cast<std::uint8_t>(page.speed[i] & 0xFF);
        }
        ok = SetGlobals(globals, channel) && ok;
    } else {
        ok = false;
    }
    return outcome(channel, ok, kMsgCalibrationWritten, kMsgCalibrationWriteFailed);
}

CalibrationResult CalibrationSession::startRun(const CalibrationPage& page, int pump) {
    CalibrationResult refused;
    refused.icon = MessageIcon::Warning;
    // A pump the unit does not have is no pump to run.
    if (pump < 1 ||
        pump > static_cast<int>(std::min<std::uint32_t>(page.pumpCount, kCalibrationPumps))) {
        refused.message = kMsgNoPumpChosen;
        refused.caption = kMsgNoPumpChosenCaption;
        return refused;
    }
    const std::uint32_t speed = page.speed[static_cast<std::size_t>(pump - 1)];
    if (speed < kMinRunSpeed) {
        refused.message = kMsgSpeedTooLowToRun;
        refused.caption = kMsgSpeedTooLowCaption;
        return refused;
    }
    if (speed > kMaxPumpSpeed) {
        refused.message = kMsgSpeedOutOfRange;
        refused.pump = pump;
        return refused;
    }
    UnitChannel channel(ctx_.link);
    if (!unlock(channel)) {
        return outcome(channel, false, 0, kMsgRunUnlockFailed);
    }
    const PumpOps run{static_cast<std::uint8_t>(pump - 1), 1,
                      static_cast<std::uint8_t>(kPumpRunLength.count()),
                      static_cast<std::uint8_t>(speed)};
    return outcome(channel, pumpCommand(run, channel), 0, kMsgRunStartFailed);
}

CalibrationResult CalibrationSession::stopRun() {
    UnitChannel channel(ctx_.link);
    const bool ok = unlock(channel) && pumpCommand(PumpOps{0, 1, 0, 0}, channel);
    return outcome(channel, ok, 0, kMsgRunStopFailed);
}

CalibrationResult CalibrationSession::resetWashes() {
    UnitChannel channel(ctx_.link);
    const bool ok = unlock(channel) && resetWashCounts(channel);
    return outcome(channel, ok, kMsgResetDone, kMsgResetWashesFailed);
}

CalibrationResult CalibrationSession::resetCounters() {
    UnitChannel channel(ctx_.link);
    const bool ok = unlock(channel) && ResetCounters(channel);
    return outcome(channel, ok, kMsgResetDone, kMsgResetCountersFailed);
}

CalibrationResult CalibrationSession::eraseSettingsMemory() {
    UnitChannel channel(ctx_.link);
    const bool ok = unlock(channel) && eraseSettingsMemory(ctx_.data.identity, channel);
    return outcome(channel, ok, kMsgMemoryErased, kMsgMemoryEraseFailed);
}

bool waitForPumpRun(const std::function<bool()>& aborted, const std::function<void(int)>& onTick,
                    std::chrono::milliseconds length, const SleepFunction& sleep) {
    const auto end = std::chrono::steady_clock::now() + length;
    int ticks = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (aborted && aborted()) {
            return true;
        }
        sleep(kPumpRunTick);
        if (onTick) {
            onTick(++ticks);
        }
    }
    // The unit has stopped the pump itself by now; an abort this late needs no stop command.
    return false;
}

}  // namespace qelto::comms
