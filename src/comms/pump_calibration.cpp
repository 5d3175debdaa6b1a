#include "comms/pump_calibration.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/text_helpers.h"

namespace qelto::comms {

std::optional<PageProblem> checkPage(const CalibrationPage& page) {
    for (std::size_t i = 0; i < kCalibrationPumps; ++i) {
        const int pump = static_cast<int>(i) + 1;
        if (page.speedEditable(i) &&
            (page.speed[i] < kMinPumpSpeed || page.speed[i] > kMaxPumpSpeed)) {
            return PageProblem{kMsgSpeedOutOfRange, pump};
        }
        if (page.calibration[i] > kMaxFlow) {
            return PageProblem{kMsgFlowTooLarge, pump};
        }
    }
    return std::nullopt;
}

void loadFromRecord(CalibrationPage& page, const model::CProgData& record) {
    for (std::size_t i = 0; i < kCalibrationPumps; ++i) {
        page.calibration[i] = record.pumpCalibration[i];
        page.speed[i] = record.pumpSpeed[i];
    }
}

std::uint32_t doseForRunTime(std::uint32_t flow, const model::MinSec& runTime) {
    // Single precision, as units and older documents computed it, so a dose comes out the same.
    const float seconds = static_cast<float>(60u * runTime.minutes + runTime.seconds);
    const float dose = static_cast<float>(flow) * seconds / 60.0f + 0.5f;
    return static_cast<std::uint32_t>(dose);
}

model::MinSec runTimeForDose(std::uint32_t dose, std::uint32_t flow) {
    const float t = static_cast<float>(dose) * 60.0f / static_cast<float>(flow);
    std::uint32_t minutes = static_cast<std::uint32_t>(t / 60.0f);
    std::uint32_t seconds =
        static_cast<std::uint32_t>(t - 60.0f * static_cast<float>(minutes) + 0.5f);
    // 59.5 seconds and more round up to the next whole minute rather than to a 60th second.
    if (seconds >= 60) {
        minutes += seconds / 60;
        seconds %= 60;
    }
    // A run time holds at most 255 minutes; a longer one is kept at the longest it can be
    // rather than wrapping round to a short run.
    if (minutes > 255) {
        return model::MinSec{255, 59, 0};
    }
    return model::MinSec{static_cast<std::uint8_t>(minutes), static_cast<std::uint8_t>(seconds), 0};
}

void saveToRecord(const CalibrationPage& page, model::CProgData& record) {
    for (std::size_t p = 0; p < kCalibrationPumps; ++p) {
        const std::uint32_t oldFlow = record.pumpCalibration[p];
        const std::uint32_t newFlow = page.calibration[p];
        record.pumpCalibration[p] = newFlow;
        record.pumpSpeed[p] =
            static_cast<std::uint8_t>(std::min<std::uint32_t>(page.speed[p], 255));
        if ((oldFlow == 0) == (newFlow == 0)) {
            continue;
        }
        for (auto& program : record.programs) {
            for (auto& trigger : program) {
                model::PumpStep& step = trigger[p];
                if (oldFlow == 0) {
                    step.dose = doseForRunTime(newFlow, step.runTime);
                } else {
                    step.runTime = runTimeForDose(step.dose, oldFlow);
                }
            }
        }
    }
}

std::string calibrationText(std::uint32_t value, bool american) {
    if (!american) {
        return std::to_string(value);
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%6.2f", static_cast<double>(value) / 100.0);
    return buffer;
}

std::optional<std::uint32_t> parseCalibrationText(std::string_view text, bool american) {
    text = platform::trimmed(text);
    std::string_view whole = text;
    std::string_view fraction;
    if (american) {
        if (const auto dot = text.find('.'); dot != std::string_view::npos) {
            whole = text.substr(0, dot);
            fraction = text.substr(dot + 1);
        }
    }
    if ((whole.empty() && fraction.empty()) || !platform::allDigits(whole) ||
        !platform::allDigits(fraction)) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    if (!whole.empty()) {
        const auto [end, error] = std::from_chars(whole.data(), whole.data() + whole.size(), value);
        if (error != std::errc{} || end != whole.data() + whole.size()) {
            return std::nullopt;
        }
    }
    if (american) {
        // Hundredths counted from the digits themselves: 1.2 is 120, where 1.2 * 100 in floating
        // point would truncate to 119.
        const std::uint64_t tenths =
            fraction.size() > 0 ? static_cast<unsigned>(fraction[0] - '0') : 0;
        const std::uint64_t hundredths =
            fraction.size() > 1 ? static_cast<unsigned>(fraction[1] - '0') : 0;
        value = value * 100 + tenths * 10 + hundredths;
    }
    if (value > 0xFFFFFFFFull) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace qelto::comms
