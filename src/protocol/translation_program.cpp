// Program data: twenty programs of ten triggers of ten pumps. A pump's two run bytes carry its
// run time while the pump is uncalibrated and its dose once it has a calibration, so which one a
// step means depends on the calibration of the side that reads it.
#include <algorithm>

#include "protocol/translation_parts.h"

namespace qelto::protocol::translate {
namespace {

bool anyPumpEnabled(const TriggerRecord& trigger) {
    return std::any_of(trigger.pumps.begin(), trigger.pumps.end(),
                       [](const ProgPump& pump) { return pumpIsEnabled(pump.enabled); });
}

// A step's delay, and its run time or dose, by the calibration of the pump on the reading side.
void takeStep(const ProgPump& pump, std::uint32_t calibration, model::PumpStep& step) {
    step.delayTime = {pump.delayMinutes, pump.delaySeconds, 0};
    if (calibration == 0) {
        step.runTime = {pump.runMinutes(), pump.runSeconds(), 0};
    } else {
        step.dose = pump.dose16();
    }
}

}  // namespace

// Disabled pumps travel too, so that a verify sees the whole document.
void progDataFromDocument(const model::CProgData& config, ProgDataPart& progData) {
    for (std::size_t p = 0; p < model::kPrograms; ++p) {
        for (std::size_t t = 0; t < model::kTriggers; ++t) {
            TriggerRecord& trigger = progData.programs[p][t];
            trigger.setting = config.pulseCount[p][t];
            for (std::size_t k = 0; k < model::kPumps; ++k) {
                const model::PumpStep& step = config.programs[p][t][k];
                ProgPump& pump = trigger.pumps[k];
                pump.enabled = config.pumpEnabled[p][t][k];
                pump.delaySeconds = step.delayTime.seconds;
                pump.delayMinutes = step.delayTime.minutes;
                if (config.pumpCalibration[k] == 0) {
                    pump.setRunTime(step.runTime.minutes, step.runTime.seconds);
                } else {
                    // A dose beyond 16 bits keeps its low 16 bits, the width a unit stores.
                    pump.setDose(static_cast<std::uint16_t>(step.dose));
                }
            }
        }
    }
}

// A unit reports nothing useful for a disabled pump or an unused trigger, and the engineer may
// have prepared those steps; they stay as the document had them.
void progDataToDocument(const ProgDataPart& progData, model::CProgData& config) {
    for (std::size_t p = 0; p < model::kPrograms; ++p) {
        for (std::size_t t = 0; t < model::kTriggers; ++t) {
            const TriggerRecord& trigger = progData.programs[p][t];
            if (anyPumpEnabled(trigger)) {
                config.pulseCount[p][t] = trigger.setting;
            }
            for (std::size_t k = 0; k < model::kPumps; ++k) {
                const ProgPump& pump = trigger.pumps[k];
                config.pumpEnabled[p][t][k] = pump.enabled;
                if (pumpIsEnabled(pump.enabled)) {
                    takeStep(pump, config.pumpCalibration[k], config.programs[p][t][k]);
                }
            }
        }
    }
}

// A report shows the unit as it is: every step is taken, and the copy's own calibration (read
// from the same unit) says what the run bytes mean.
void progDataToCopy(const ProgDataPart& progData, model::CommsCopy& copy) {
    copy.programActive.fill(0);
    for (std::size_t p = 0; p < model::kPrograms; ++p) {
        for (std::size_t t = 0; t < model::kTriggers; ++t) {
            const TriggerRecord& trigger = progData.programs[p][t];
            copy.pulseCount[p][t] = trigger.setting;
            if (anyPumpEnabled(trigger)) {
                copy.programActive[p] = 1;
            }
            for (std::size_t k = 0; k < model::kPumps; ++k) {
                const ProgPump& pump = trigger.pumps[k];
                copy.pumpEnabled[p][t][k] = pump.enabled;
                takeStep(pump, copy.pumpCalibration[k], copy.programs[p][t][k]);
            }
        }
    }
}

}  // namespace qelto::protocol::translate
