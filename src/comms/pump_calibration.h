// The pump calibration page's values and their rules: speeds in steps of 5, flows that travel as
// 16-bit values, the American display of flows in hundredths, and the save into the
// configuration record that turns a pump's doses into run times (or back) when it becomes
// calibrated (or uncalibrated).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/min_sec.h"
#include "model/prog_data.h"

namespace qelto::comms {

inline constexpr std::size_t kCalibrationPumps = 10;
inline constexpr std::uint32_t kMinPumpSpeed = 30;
inline constexpr std::uint32_t kMaxPumpSpeed = 100;
// A pump below this speed does not move enough to be measured.
inline constexpr std::uint32_t kMinRunSpeed = 20;
// The unit keeps a flow in 16 bits.
inline constexpr std::uint32_t kMaxFlow = 0xFFFF;

// Texts of the checks made when the page's values are taken in.
inline constexpr int kMsgSpeedOutOfRange = 3900;  // "Pump %1: the speed must be 30-100 %."
inline constexpr int kMsgFlowTooLarge = 3901;     // "Pump %1: the flow is too large..."

struct CalibrationPage {
    std::array<std::uint32_t, kCalibrationPumps> speed = filled(100);
    std::array<std::uint32_t, kCalibrationPumps> calibration{};  // 0: not calibrated
    std::uint32_t pumpCount = kCalibrationPumps;                 // pumps fitted
    bool fixedSpeed = false;  // every pump runs at full speed; speeds cannot be edited

    bool speedEditable(std::size_t pump) const { return !fixedSpeed && pump < pumpCount; }
    bool runnable(std::size_t pump) const { return pump < pumpCount && speed[pump] != 0; }

  private:
    static std::array<std::uint32_t, kCalibrationPumps> filled(std::uint32_t value) {
        std::array<std::uint32_t, kCalibrationPumps> values{};
        values.fill(value);
        return values;
    }
};

// The nearest multiple of 5 (a remainder of 1 or 2 rounds down, 3 or 4 up).
constexpr std::uint32_t roundSpeed(std::uint32_t value) {
    return (value + 2) / 5 * 5;
}

// A unit type above 9 runs its pumps at fixed full speed.
constexpr bool isFixedSpeedType(std::uint32_t unitType) {
    return unitType > 9;
}

// A check that failed when the values were taken in: the text's string number and the pump
// (1-based) it names.
struct PageProblem {
    int textId = 0;
    int pump = 0;
};
// Every editable speed must be 30-100 and every flow must fit the unit's 16 bits.
std::optional<PageProblem> checkPage(const CalibrationPage& page);

// Speeds and flows of the record; pump count and the fixed-speed flag are the caller's.
void loadFromRecord(CalibrationPage& page, const model::CProgData& record);
// Stores speeds and flows, and converts the doses of every pump whose calibrated state changed.
void saveToRecord(const CalibrationPage& page, model::CProgData& record);

// The dose a calibrated pump delivers in the run time it had while uncalibrated.
std::uint32_t doseForRunTime(std::uint32_t flow, const model::MinSec& runTime);
// The run time that delivers a dose at the flow the pump had while calibrated (flow > 0).
model::MinSec runTimeForDose(std::uint32_t dose, std::uint32_t flow);

// A flow as its field shows it: the integer, or in American mode hundredths as "%6.2f".
std::string calibrationText(std::uint32_t value, bool american);
// What the engineer typed; American mode keeps hundredths, cutting further digits. nullopt for
// anything but a plain non-negative number, or a value beyond 32 bits.
std::optional<std::uint32_t> parseCalibrationText(std::string_view text, bool american);

}  // namespace qelto::comms
