#include <fmt/format.h>

#include <algorithm>

#include "protocol/verify_checks.h"

namespace qelto::protocol::verify_detail {

namespace {

struct Clock {
    std::uint8_t minutes = 0;
    std::uint8_t seconds = 0;
    friend bool operator==(const Clock&, const Clock&) = default;
};

std::string clockText(Clock clock) {
    return minutesSecondsText(clock.minutes, clock.seconds);
}

std::string enabledText(std::uint8_t enabled) {
    if (enabled <= 1) {
        return enabled == 1 ? "yes" : "no";
    }
    return numberText(enabled);
}

std::string doseText(std::uint16_t millilitres) {
    return fmt::format("{} ml", millilitres);
}

bool anyEnabled(const TriggerRecord& trigger) {
    return std::any_of(trigger.pumps.begin(), trigger.pumps.end(),
                       [](const ProgPump& pump) { return pump.enabled != 0; });
}

void comparePump(const ProgPump& editor, const ProgPump& unit, bool dosedByVolume, Difference where,
                 DifferenceSink& sink) {
    where.field = "pump enabled";
    check(sink, where, unit.enabled, editor.enabled, enabledText);
    // A disabled pump's values are whatever was left behind; only a pump that doses has a delay
    // and a run to compare. Should the flags differ, the flag alone already decided the result.
    if (unit.enabled == 0 || editor.enabled == 0) {
        return;
    }
    where.field = "delay time";
    check(sink, where, Clock{unit.delayMinutes, unit.delaySeconds},
          Clock{editor.delayMinutes, editor.delaySeconds}, clockText);
    // The document decides how the two run bytes read: the unit's own calibration may be stale.
    if (dosedByVolume) {
        where.field = "dose";
        check(sink, where, unit.dose16(), editor.dose16(), doseText);
    } else {
        where.field = "run time";
        check(sink, where, Clock{unit.runMinutes(), unit.runSeconds()},
              Clock{editor.runMinutes(), editor.runSeconds()}, clockText);
    }
}

}  // namespace

// Every trigger is looked at, whatever an earlier one showed. A trigger without an enabled pump
// in the document is not written, so the unit keeps its erased pulse count there.
void compareProgData(const ProgDataPart& editor, const ProgDataPart& unit,
                     const DocumentCalibration& documentCalibration, DifferenceSink& sink) {
    for (std::size_t p = 0; p < kCommsPrograms; ++p) {
        for (std::size_t t = 0; t < kCommsTriggers; ++t) {
            const TriggerRecord& e = editor.programs[p][t];
            const TriggerRecord& u = unit.programs[p][t];
            const int program = static_cast<int>(p);
            const int trigger = static_cast<int>(t);
            if (anyEnabled(e)) {
                check(sink, at("pulse count", program, trigger), u.setting, e.setting,
                      [](std::uint8_t count) { return numberText(count); });
            }
            for (std::size_t k = 0; k < kCommsPumps; ++k) {
                comparePump(e.pumps[k], u.pumps[k], documentCalibration[k] != 0,
                            at("", program, trigger, static_cast<int>(k)), sink);
            }
        }
    }
}

}  // namespace qelto::protocol::verify_detail
