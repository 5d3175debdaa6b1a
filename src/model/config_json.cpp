#include "model/config_json.h"

#include <fmt/format.h>

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

template <std::size_t N>
Json texts(const std::array<std::string, N>& values) {
    Json out = Json::array();
    for (const auto& v : values) {
        out.push_back(text(v));
    }
    return out;
}

std::string hex(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        out += fmt::format("{:02x}", b);
    }
    return out;
}

}  // namespace

Json toJson(const CProgData& c) {
    Json programs = Json::array();
    Json enabled = Json::array();
    Json pulses = Json::array();
    for (std::size_t p = 0; p < kPrograms; ++p) {
        Json program = Json::array();
        Json programEnabled = Json::array();
        for (std::size_t t = 0; t < kTriggers; ++t) {
            Json trigger = Json::array();
            for (const PumpStep& step : c.programs[p][t]) {
                trigger.push_back(Json{{"runTime", time(step.runTime)},
                                       {"delayTime", time(step.delayTime)},
                                       {"dose", step.dose}});
            }
            program.push_back(std::move(trigger));
            programEnabled.push_back(numbers(c.pumpEnabled[p][t]));
        }
        programs.push_back(std::move(program));
        enabled.push_back(std::move(programEnabled));
        pulses.push_back(numbers(c.pulseCount[p]));
    }

    Json j;
    j["firstFormatLoad"] = c.firstFormatLoad;
    j["spareLaundryByte"] = c.spareLaundryByte;
    j["pumpNamesValid"] = c.pumpNamesValid;
    j["FlushType"] = c.FlushType;
    j["legacyConfig"] = hex(c.legacyConfig);
    j["programs"] = std::move(programs);
    j["pumpSpeed"] = numbers(c.pumpSpeed);
    j["pumpCalibration"] = numbers(c.pumpCalibration);
    j["pumpEnabled"] = std::move(enabled);
    j["pulseCount"] = std::move(pulses);
    j["resetDelayLastInput"] = c.resetDelayLastInput;
    j["resetDelayOff"] = c.resetDelayOff;
    j["accessCode"] = c.accessCode;
    j["resetDelayTime"] = time(c.resetDelayTime);
    j["flushValveTime"] = time(c.flushValveTime);
    j["auxTime"] = time(c.auxTime);
    j["auxByte"] = c.auxByte;
    j["unitType"] = c.unitType;
    j["spareText"] = text(c.spareText);
    j["SerialNoUnit"] = text(c.SerialNoUnit);
    j["SerialNoCPU"] = text(c.SerialNoCPU);
    j["SoftwareVersion"] = text(c.SoftwareVersion);
    j["unitDescription"] = text(c.unitDescription);
    j["customerName1"] = text(c.customerName1);
    j["customerName2"] = text(c.customerName2);
    j["pin"] = numbers(c.pin);
    j["namesPresent"] = c.namesPresent;
    j["relayMode"] = c.relayMode;
    j["ViewMode"] = c.ViewMode;
    j["optionFlag1"] = c.optionFlag1;
    j["optionFlag0"] = c.optionFlag0;
    j["tenPumpFormat"] = c.tenPumpFormat;
    j["doseFormat"] = c.doseFormat;
    j["flushTypeFormat"] = c.flushTypeFormat;
    j["extensionFormat"] = c.extensionFormat;
    j["pulseFixFormat"] = c.pulseFixFormat;
    j["descriptionFormat"] = c.descriptionFormat;
    j["resetToFormat"] = c.resetToFormat;
    j["progName"] = texts(c.progName);
    j["pumpName"] = texts(c.pumpName);
    j["pumpSpeedRange"] = numbers(c.pumpSpeedRange);
    j["SafetyStopMode"] = c.SafetyStopMode;
    j["autofs_mode"] = c.autofs_mode;
    j["autofs_time"] = time(c.autofs_time);
    j["autofs_accept_time"] = c.autofs_accept_time;
    j["resetOption"] = c.resetOption;
    j["resetProgChoice"] = c.resetProgChoice;
    j["FSVersion"] = c.FSVersion;
    j["comments"] = text(c.comments);
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
