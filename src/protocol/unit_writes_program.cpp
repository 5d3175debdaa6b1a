#include <algorithm>
#include <chrono>

#include "protocol/unit_reads.h"
#include "protocol/unit_writes.h"

namespace qelto::protocol {

namespace {

// The unit needs this many polls, 100 ms apart, to finish storing the first calibration group
// before it takes the second.
constexpr int kCalibrationKeepAlivePolls = 30;
constexpr std::chrono::milliseconds kKeepAlivePause{100};

PumpCalGroup calibrationGroup(const CalibrationPart& calibration, std::uint8_t group,
                              const std::tm& today) {
    PumpCalGroup out;
    out.group = group;
    for (std::size_t j = 0; j < kPumpsPerHalf; ++j) {
        PumpCalEntry& entry = out.pumps[j];
        entry.volume = calibration.pumps[kPumpsPerHalf * group + j].volume;
        entry.day = static_cast<std::uint8_t>(today.tm_mday);
        entry.month = static_cast<std::uint8_t>(today.tm_mon + 1);
        entry.year = calibrationYearByte(today.tm_year + 1900);
    }
    return out;
}

ProgDataHalf halfOf(const TriggerRecord& trigger, std::uint8_t program, std::uint8_t index,
                    std::uint8_t half) {
    ProgDataHalf out;
    out.program = program;
    out.half = half;
    out.trigger = index;
    out.setting = trigger.setting;
    for (std::size_t j = 0; j < kPumpsPerHalf; ++j) {
        out.pumps[j] = trigger.pumps[kPumpsPerHalf * half + j];
        out.pumps[j].enabled = out.pumps[j].enabled != 0 ? 1 : 0;
    }
    return out;
}

bool anyEnabled(const TriggerRecord& trigger, std::size_t first, std::size_t last) {
    return std::any_of(trigger.pumps.begin() + static_cast<std::ptrdiff_t>(first),
                       trigger.pumps.begin() + static_cast<std::ptrdiff_t>(last),
                       [](const ProgPump& pump) { return pump.enabled != 0; });
}

bool programUsed(const std::array<TriggerRecord, kCommsTriggers>& triggers) {
    return std::any_of(triggers.begin(), triggers.end(), [](const TriggerRecord& trigger) {
        return anyEnabled(trigger, 0, kCommsPumps);
    });
}

bool sendTrigger(const TriggerRecord& trigger, std::uint8_t program, std::uint8_t index,
                 std::uint8_t defaultPulseCount, UnitChannel& channel) {
    const bool lowPumps = anyEnabled(trigger, 0, kPumpsPerHalf);
    const bool highPumps = anyEnabled(trigger, kPumpsPerHalf, kCommsPumps);
    // A trigger without pumps still matters when its pulse count differs from the erased one;
    // half A carries that setting.
    const bool sendA = lowPumps || (!highPumps && trigger.setting != defaultPulseCount);
    if (sendA && !channel.askAck(makeProgDataHalf(halfOf(trigger, program, index, 0)))) {
        return false;
    }
    return !highPumps || channel.askAck(makeProgDataHalf(halfOf(trigger, program, index, 1)));
}

}  // namespace

bool SetPumpCal(const CalibrationPart& calibration, UnitChannel& channel, const LocalClock& clock,
                const SleepFunction& sleep) {
    const std::tm today = clock();
    if (!channel.askAck(makePumpCal(calibrationGroup(calibration, 0, today)))) {
        return false;
    }
    IdentityPart scratch;
    for (int i = 0; i < kCalibrationKeepAlivePolls; ++i) {
        // Only the traffic matters; one attempt each keeps a silent unit from stalling here.
        (void)SimplePoll(scratch, channel, 1);
        if (channel.cancelled()) {
            return false;
        }
        sleep(kKeepAlivePause);
    }
    return channel.askAck(makePumpCal(calibrationGroup(calibration, 1, today)));
}

bool SetProgData(const ProgDataPart& progData, UnitChannel& channel,
                 std::uint8_t defaultPulseCount) {
    ProgressScope progress(channel.observer(), static_cast<int>(kCommsPrograms));
    for (std::uint8_t p = 0; p < kCommsPrograms; ++p) {
        const auto& triggers = progData.programs[p];
        if (programUsed(triggers)) {
            for (std::uint8_t t = 0; t < kCommsTriggers; ++t) {
                if (!sendTrigger(triggers[t], p, t, defaultPulseCount, channel)) {
                    return false;
                }
            }
        }
        progress.step();
    }
    return true;
}

std::uint8_t defaultPulseCountFor(const std::array<std::uint8_t, 3>& version) {
    const int major = version[0] - '0';
    const int minor = version[1] - '0';
    const int sub = version[2] - '0';
    const bool from205 =
        major > 2 || (major == 2 && minor > 0) || (major == 2 && minor == 0 && sub > 4);
    return from205 ? 1 : 0;
}

std::uint8_t defaultPulseCount(IdentityPart& identity, UnitChannel& channel) {
    if (!SimplePoll(identity, channel, kOperationAttempts)) {
        // No version to go by: take 0, what every unit before 2.0.5 erases a trigger to.
        return 0;
    }
    return defaultPulseCountFor(identity.unit.version);
}

}  // namespace qelto::protocol
