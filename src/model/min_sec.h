// Times and pump steps as the configuration record holds them.
#pragma once

#include <cstdint>

namespace qelto::model {

// Minutes, seconds and a third byte that units leave at 0. On the wire a time travels as one
// 16-bit count of seconds.
struct MinSec {
    std::uint8_t minutes = 0;
    std::uint8_t seconds = 0;
    std::uint8_t third = 0;

    static constexpr MinSec fromSeconds(std::uint32_t totalSeconds) {
        return {static_cast<std::uint8_t>(totalSeconds / 60),
                static_cast<std::uint8_t>(totalSeconds % 60), 0};
    }
    constexpr std::uint32_t totalSeconds() const { return minutes * 60u + seconds; }
    friend bool operator==(const MinSec&, const MinSec&) = default;
};

// The longest time a person enters: minutes 0..99, seconds 0..59.
inline constexpr MinSec kLongestTime{99, 59, 0};

// One pump within one trigger of one program.
struct PumpStep {
    MinSec runTime;          // how long an uncalibrated pump runs
    MinSec delayTime;        // delay before the pump starts
    std::uint32_t dose = 0;  // dose in ml, used instead of runTime once the pump is calibrated
    friend bool operator==(const PumpStep&, const PumpStep&) = default;
};

}  // namespace qelto::model
