#include <fmt/format.h>

#include <algorithm>

#include "model/unit_types.h"
#include "protocol/verify_checks.h"

namespace qelto::protocol::verify_detail {

namespace {

std::string unitTypeText(std::uint8_t code) {
    if (model::findUnitModel(code) == nullptr) {
        return fmt::format("type {}", code);
    }
    return fmt::format("{} (type {})", model::unitModelName(code), code);
}

std::string speedText(std::uint8_t percent) {
    return fmt::format("{}%", percent);
}

std::string flowText(std::uint16_t millilitresPerMinute) {
    return fmt::format("{} ml/min", millilitresPerMinute);
}

// Shown in the numbering the engineer knows, not the unit's.
std::string rangeText(std::uint8_t wire) {
    return numberText(speedRangeFromWire(wire));
}

std::string byteText(std::uint8_t value) {
    return numberText(value);
}

std::string secondsText(std::uint16_t seconds) {
    return secondsAsMinutesText(seconds);
}

}  // namespace

// The PINs, aux and reset-delay times, view mode, option flags and language are left out: the
// unit or the engineer may have changed them there, and they do not change how it doses. Pumps
// the unit's type does not have are left out too, whatever the document holds for them.
void compareGlobals(const GlobalsPart& editor, const GlobalsPart& unit, DifferenceSink& sink) {
    const GlobalBlock1& e1 = editor.block1;
    const GlobalBlock1& u1 = unit.block1;
    const GlobalBlock2& e2 = editor.block2;
    const GlobalBlock2& u2 = unit.block2;
    const bool goOn =
        check(sink, at("unit type"), u1.unitType, e1.unitType, unitTypeText) &&
        check(sink, at("access code"), u1.accessCode, e1.accessCode, byteText) &&
        check(sink, at("reset delay off"), u1.resetDelayOff, e1.resetDelayOff, byteText) &&
        check(sink, at("reset delay from last input"), u1.resetDelayLastInput,
              e1.resetDelayLastInput, byteText) &&
        check(sink, at("flush valve time"), u2.flushValveTime, e2.flushValveTime, secondsText) &&
        check(sink, at("flush type"), u1.flushType, e1.flushType, byteText) &&
        check(sink, at("relay mode"), u1.relayMode, e1.relayMode, byteText) &&
        check(sink, at("safety stop mode"), u1.safetyStopMode, e1.safetyStopMode, byteText);
    if (!goOn) {
        return;
    }
    const std::size_t pumps = std::min<std::size_t>(unit.pumpCount, kCommsPumps);
    for (std::size_t i = 0; i < pumps; ++i) {
        const int pump = static_cast<int>(i);
        // Ranges are compared as they travel, in the unit's own numbering.
        const bool pumpOn = check(sink, at("pump speed", -1, -1, pump), u2.pumpSpeed[i],
                                  e2.pumpSpeed[i], speedText) &&
                            check(sink, at("pump speed range", -1, -1, pump),
                                  speedRangeToWire(u2.pumpSpeedRange[i]),
                                  speedRangeToWire(e2.pumpSpeedRange[i]), rangeText);
        if (!pumpOn) {
            return;
        }
    }
}

// The dates only record when each pump was last calibrated; the volumes are what dosing uses.
void compareCalibration(const CalibrationPart& editor, const CalibrationPart& unit,
                        DifferenceSink& sink) {
    for (std::size_t i = 0; i < kCommsPumps; ++i) {
        check(sink, at("calibration volume", -1, -1, static_cast<int>(i)), unit.pumps[i].volume,
              editor.pumps[i].volume, flowText);
    }
}

void compareAutoFs(const AutoFs& editor, const AutoFs& unit, DifferenceSink& sink) {
    if (check(sink, at("automatic flush mode"), unit.mode, editor.mode, byteText) &&
        check(sink, at("automatic flush time"), unit.time, editor.time, secondsText)) {
        check(sink, at("automatic flush accept time"), unit.acceptTime, editor.acceptTime,
              byteText);
    }
}

// A unit always reports program choice 1, so a document holding any other choice never matches;
// that is deliberate, the unit cannot keep what the document asks for.
void compareResetTo(const ResetToPart& editor, const ResetToPart& unit, DifferenceSink& sink) {
    if (check(sink, at("reset-to option"), unit.resetOption, editor.resetOption, byteText) &&
        check(sink, at("reset-to program choice"), unit.resetProgChoice, editor.resetProgChoice,
              byteText)) {
        check(sink, at("reset-to version"), unit.FSVersion, editor.FSVersion, byteText);
    }
}

}  // namespace qelto::protocol::verify_detail
