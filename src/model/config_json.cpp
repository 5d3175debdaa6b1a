#include "model/config_json.h"

#include <fmt/format.h>

#include "model/config_fields.h"
#include "platform/text_encoding.h"

namespace qelto::model {
namespace {

using Json = nlohmann::ordered_json;

Json time(const MinSec& t) {
    return Json::array({t.minutes, t.seconds, t.third});
}

Json text(std::string_view latin1) {
    return platform::latin1ToUtf8(latin1);
}

template <std::size_t N>
Json text(const FixedText<N>& field) {
    return text(textOf(field));
}

template <typename T, std::size_t N>
Json numbers(const std::array<T, N>& values) {
    Json out = Json::array();
    for (const auto& v : values) {
        out.push_back(v);
    }
    return out;
}

template <std::size_t N>
Json times(const std::array<MinSec, N>& values) {
    Json out = Json::array();
    for (const auto& v : values) {
        out.push_back(time(v));
    }
    return out;
}

template <typename Item>
Json arrayOf(std::size_t count, const Item& item) {
    Json out = Json::array();
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(item(i));
    }
    return out;
}

Json value(const FieldInfo& field, const FieldValue& v) {
    switch (field.shown) {
        case FieldShown::Time:
            return time(v.time);
        case FieldShown::Text:
            return text(v.text);
        default:
            return v.number;
    }
}

Json valuesOf(const FieldInfo& field, const CProgData& c) {
    const auto at = [&](const FieldPosition& position) {
        return value(field, field.read(c, position));
    };
    switch (field.scope) {
        case FieldScope::Unit:
            return at({});
        case FieldScope::Pin:
            return arrayOf(c.pin.size(), [&](std::size_t i) { return at({.pin = i}); });
        case FieldScope::LegacyByte: {
            std::string hex;
            for (std::size_t i = 0; i < c.legacyConfig.size(); ++i) {
                hex += fmt::format("{:02x}", field.read(c, {.offset = i}).number);
            }
            return hex;
        }
        case FieldScope::Pump:
            return arrayOf(kPumps, [&](std::size_t k) { return at({.pump = k}); });
        case FieldScope::Program:
            return arrayOf(kPrograms, [&](std::size_t p) { return at({.program = p}); });
        case FieldScope::Trigger:
            return arrayOf(kPrograms, [&](std::size_t p) {
                return arrayOf(kTriggers,
                               [&](std::size_t t) { return at({.program = p, .trigger = t}); });
            });
        case FieldScope::Step:
            break;
    }
    return arrayOf(kPrograms, [&](std::size_t p) {
        return arrayOf(kTriggers, [&](std::size_t t) {
            return arrayOf(
                kPumps, [&](std::size_t k) { return at({.program = p, .trigger = t, .pump = k}); });
        });
    });
}

// A step's run time, delay and dose: one object per step, nested program, trigger, pump.
Json programSteps(const CProgData& c) {
    return arrayOf(kPrograms, [&](std::size_t p) {
        return arrayOf(kTriggers, [&](std::size_t t) {
            return arrayOf(kPumps, [&](std::size_t k) {
                Json step;
                for (const FieldInfo& field : kConfigFields) {
                    if (field.inPumpStep) {
                        step[std::string(field.name)] =
                            value(field, field.read(c, {.program = p, .trigger = t, .pump = k}));
                    }
                }
                return step;
            });
        });
    });
}

}  // namespace

Json toJson(const CProgData& c) {
    Json j;
    for (const FieldInfo& field : kConfigFields) {
        if (!field.inPumpStep) {
            j[std::string(field.name)] = valuesOf(field, c);
        } else if (!j.contains("programs")) {
            j["programs"] = programSteps(c);
        }
    }
    return j;
}

Json toJson(const CDishWashViewData& d) {
    Json j;
    j["DW_Flag4"] = d.DW_Flag4;
    j["DW_Text"] = text(d.DW_Text);
    j["DW_NamesFormat"] = d.DW_NamesFormat;
    j["DW_UnitType"] = d.DW_UnitType;
    j["DW_SerialNo"] = text(d.DW_SerialNo);
    j["DW_Pin"] = numbers(d.DW_Pin);
    j["DW_UnitMode"] = d.DW_UnitMode;
    j["DW_NumPumps"] = d.DW_NumPumps;
    j["DW_IOCheckbox"] = d.DW_IOCheckbox;
    j["DW_ICmode"] = d.DW_ICmode;
    j["DW_ICRunTime"] = time(d.DW_ICRunTime);
    j["DW_ICDelayTime"] = time(d.DW_ICDelayTime);
    j["DW_ICPulseCount"] = d.DW_ICPulseCount;
    j["DW_ProbeMode"] = d.DW_ProbeMode;
    j["DW_ProbeInitialDelay"] = time(d.DW_ProbeInitialDelay);
    j["DW_ProbeConcentration"] = d.DW_ProbeConcentration;
    j["DW_ProbeAlarmDelay"] = time(d.DW_ProbeAlarmDelay);
    j["DW_ProbeAlarmOff"] = d.DW_ProbeAlarmOff;
    j["DW_PumpSpeed"] = numbers(d.DW_PumpSpeed);
    j["DW_PumpRunTime"] = times(d.DW_PumpRunTime);
    j["DW_PumpOffTime"] = times(d.DW_PumpOffTime);
    j["DW_PumpPulse"] = numbers(d.DW_PumpPulse);
    j["DW_Byte69"] = d.DW_Byte69;
    j["DW_IOPercent"] = numbers(d.DW_IOPercent);
    j["DW_IOTime"] = times(d.DW_IOTime);
    j["DW_IODuration"] = times(d.DW_IODuration);
    j["DW_PropTo"] = d.DW_PropTo;
    j["DW_PropRunning"] = d.DW_PropRunning;
    j["DW_Flag88"] = d.DW_Flag88;
    return j;
}

}  // namespace qelto::model
