// The packet-protocol laundry unit's memory to and from the JSON shape of sim_state.h.
#include <algorithm>

#include "platform/text_helpers.h"
#include "sim/json_fields.h"
#include "sim/sim_state.h"
#include "sim/unit_clock.h"
#include "sim/usage_state.h"

namespace qelto::sim {

using nlohmann::json;
using namespace json_fields;

namespace {

json globalsToJson(const GlobalSettings& g) {
    return {{"language", g.language},
            {"pins", g.pins},
            {"accessCode", g.accessCode},
            {"auxTime", g.auxTime},
            {"auxByte", g.auxByte},
            {"resetDelay", g.resetDelay},
            {"resetDelayOff", g.resetDelayOff},
            {"resetDelayLastInput", g.resetDelayLastInput},
            {"optionFlags", g.optionFlags},
            {"block1Spare", g.block1Spare},
            {"viewMode", g.viewMode},
            {"flushType", g.flushType},
            {"relayMode", g.relayMode},
            {"safetyStopMode", g.safetyStopMode},
            {"pumpSpeeds", g.pumpSpeeds},
            {"flushValveTime", g.flushValveTime},
            {"block2Words", g.block2Words},
            {"pumpSpeedRanges", g.pumpSpeedRanges}};
}

void applyGlobals(const json& j, GlobalSettings& g) {
    number(j, "language", g.language);
    numbers(j, "pins", g.pins);
    number(j, "accessCode", g.accessCode);
    number(j, "auxTime", g.auxTime);
    number(j, "auxByte", g.auxByte);
    number(j, "resetDelay", g.resetDelay);
    number(j, "resetDelayOff", g.resetDelayOff);
    number(j, "resetDelayLastInput", g.resetDelayLastInput);
    number(j, "optionFlags", g.optionFlags);
    numbers(j, "block1Spare", g.block1Spare);
    number(j, "viewMode", g.viewMode);
    number(j, "flushType", g.flushType);
    number(j, "relayMode", g.relayMode);
    number(j, "safetyStopMode", g.safetyStopMode);
    numbers(j, "pumpSpeeds", g.pumpSpeeds);
    number(j, "flushValveTime", g.flushValveTime);
    numbers(j, "block2Words", g.block2Words);
    numbers(j, "pumpSpeedRanges", g.pumpSpeedRanges);
}

json programsToJson(const LaundryMemory& memory) {
    TriggerData erased;
    erased.setting = erasedTriggerSetting(memory.identity);
    json list = json::array();
    for (std::size_t p = 0; p < kPrograms; ++p) {
        for (std::size_t t = 0; t < kTriggers; ++t) {
            const TriggerData& data = memory.programs[p][t];
            if (data == erased) {
                continue;
            }
            json pumps = json::array();
            for (const PumpStep& s : data.pumps) {
                pumps.push_back({s.enabled, s.run[0], s.run[1], s.delaySeconds, s.delayMinutes});
            }
            list.push_back(
                {{"program", p}, {"trigger", t}, {"setting", data.setting}, {"pumps", pumps}});
        }
    }
    return list;
}

void applyPrograms(const json& state, LaundryMemory& memory) {
    const json* list = array(state, "programs", kPrograms * kTriggers);
    if (list == nullptr) {
        return;
    }
    for (const json& entry : *list) {
        if (!entry.is_object()) {
            throw StateError("programs entries must be objects");
        }
        const auto p = toNumber<std::uint8_t>(entry.value("program", json(0)), "program");
        const auto t = toNumber<std::uint8_t>(entry.value("trigger", json(0)), "trigger");
        if (p >= kPrograms || t >= kTriggers) {
            throw StateError("programs: program 0..19 and trigger 0..9");
        }
        TriggerData& data = memory.programs[p][t];
        number(entry, "setting", data.setting);
        if (const json* pumps = array(entry, "pumps", kPumps)) {
            for (std::size_t k = 0; k < pumps->size(); ++k) {
                std::array<std::uint8_t, 5> b{};
                const json& step = pumps->at(k);
                if (!step.is_array() || step.size() != 5) {
                    throw StateError("pumps entries must be five numbers");
                }
                for (std::size_t i = 0; i < 5; ++i) {
                    b[i] = toNumber<std::uint8_t>(step[i], "pumps");
                }
                data.pumps[k] = PumpStep{b[0], {b[1], b[2]}, b[3], b[4]};
            }
        }
    }
}

void applyIdentity(const json& state, LaundryMemory& memory) {
    Identity& id = memory.identity;
    number(state, "serial", id.serial);
    number(state, "productCode", id.productCode);
    number(state, "unitType", id.unitType);
    number(state, "processorSerial", id.processorSerial);
    number(state, "pin", memory.accessPin);
    if (state.contains("version")) {
        const json& v = state.at("version");
        if (!v.is_string() || !parseVersion(v.get<std::string>(), id.version)) {
            throw StateError("version must look like \"1.3.0\"");
        }
    }
}

void applyClock(const json& state, LaundryMemory& memory, std::int64_t hostNow) {
    if (!state.contains("clock")) {
        return;
    }
    const json& clock = state.at("clock");
    if (clock.is_null() || clock == false) {
        memory.hasClock = false;
        return;
    }
    const auto when = clock.is_string() ? parseUnitTime(clock.get<std::string>()) : std::nullopt;
    if (!when) {
        throw StateError("clock must be null or a time as HHMMSSDDMMYYYY");
    }
    memory.hasClock = true;
    memory.clockOffset = *when - hostNow;
}

void applyComments(const json& state, LaundryMemory& memory) {
    const json* list = array(state, "comments", kMaxCommentBlocks);
    if (list == nullptr) {
        return;
    }
    memory.comments.clear();
    for (const json& block : *list) {
        const std::string text = toText(block, "comments", kCommentBlockSize);
        CommentBlock bytes{};
        std::copy(text.begin(), text.end(), bytes.begin());
        memory.comments.push_back(bytes);
    }
}

}  // namespace

bool parseVersion(const std::string& text, std::array<char, 3>& version) {
    std::string chars;
    if (text.size() == 5 && text[1] == '.' && text[3] == '.') {
        chars = {text[0], text[2], text[4]};
    } else if (text.size() == 3) {
        chars = text;
    } else {
        return false;
    }
    if (!platform::allDigits(chars)) {
        return false;
    }
    version = {chars[0], chars[1], chars[2]};
    return true;
}

std::string versionText(const std::array<char, 3>& version) {
    return {version[0], '.', version[1], '.', version[2]};
}

json laundryStateToJson(const LaundryMemory& memory, std::int64_t hostNow) {
    const Identity& id = memory.identity;
    json comments = json::array();
    for (const CommentBlock& block : memory.comments) {
        const auto end = std::find(block.begin(), block.end(), 0);
        comments.push_back(platform::latin1ToUtf8(std::string(block.begin(), end)));
    }
    json calibration = json::array();
    for (const PumpCalibration& c : memory.calibration) {
        calibration.push_back(
            {{"volume", c.volume}, {"day", c.day}, {"month", c.month}, {"year", c.year}});
    }
    json pumpRuns = json::array();
    for (const PumpRun& r : memory.pumpRuns) {
        pumpRuns.push_back(
            {{"pump", r.pump}, {"command", r.command}, {"seconds", r.seconds}, {"speed", r.speed}});
    }
    return {
        {"kind", "laundry"},
        {"serial", id.serial},
        {"productCode", id.productCode},
        {"unitType", id.unitType},
        {"version", versionText(id.version)},
        {"processorSerial", id.processorSerial},
        {"pin", memory.accessPin},
        {"clock", memory.hasClock ? json(formatUnitTime(hostNow + memory.clockOffset)) : json()},
        {"globals", globalsToJson(memory.globals)},
        {"calibration", calibration},
        {"programs", programsToJson(memory)},
        {"programNames", utf8Texts(memory.programNames)},
        {"pumpNames", utf8Texts(memory.pumpNames)},
        {"customerLines", utf8Texts(memory.customerLines)},
        {"comments", comments},
        {"description", platform::latin1ToUtf8(memory.description)},
        {"serialText", platform::latin1ToUtf8(memory.serialText)},
        {"identificationText", platform::latin1ToUtf8(memory.identificationText)},
        {"autoFlush",
         {{"mode", memory.autoFlush.mode},
          {"time", memory.autoFlush.time},
          {"acceptTime", memory.autoFlush.acceptTime}}},
        {"resetTo",
         {{"kind", memory.resetTo.kind},
          {"value", memory.resetTo.value},
          {"fsVersion", memory.resetTo.fsVersion}}},
        {"counters", {{"cycles", memory.counters.cycles}, {"washes", memory.counters.washes}}},
        {"pumpRuns", pumpRuns},
        {"usage", usageToJson(memory.usage)},
    };
}

void applyLaundryState(const json& state, LaundryMemory& memory, std::int64_t hostNow) {
    if (!state.is_object()) {
        throw StateError("the state must be a JSON object");
    }
    const std::uint8_t erasedBefore = erasedTriggerSetting(memory.identity);
    applyIdentity(state, memory);
    // An erased trigger's setting follows the software version; keep erased triggers erased.
    const std::uint8_t erasedAfter = erasedTriggerSetting(memory.identity);
    for (auto& program : memory.programs) {
        for (TriggerData& data : program) {
            TriggerData wasErased;
            wasErased.setting = erasedBefore;
            if (data == wasErased) {
                data.setting = erasedAfter;
            }
        }
    }
    applyClock(state, memory, hostNow);
    applyGlobals(object(state, "globals"), memory.globals);
    if (const json* list = array(state, "calibration", kPumps)) {
        for (std::size_t i = 0; i < list->size(); ++i) {
            PumpCalibration& c = memory.calibration[i];
            number(list->at(i), "volume", c.volume);
            number(list->at(i), "day", c.day);
            number(list->at(i), "month", c.month);
            number(list->at(i), "year", c.year);
        }
    }
    applyPrograms(state, memory);
    texts(state, "programNames", memory.programNames, kProgramNameLength);
    texts(state, "pumpNames", memory.pumpNames, kPumpNameLength);
    texts(state, "customerLines", memory.customerLines, kCustomerLineLength);
    applyComments(state, memory);
    text(state, "description", memory.description, kDescriptionLength);
    text(state, "serialText", memory.serialText, 10);
    text(state, "identificationText", memory.identificationText, 26);
    const json& autoFlush = object(state, "autoFlush");
    number(autoFlush, "mode", memory.autoFlush.mode);
    number(autoFlush, "time", memory.autoFlush.time);
    number(autoFlush, "acceptTime", memory.autoFlush.acceptTime);
    const json& resetTo = object(state, "resetTo");
    number(resetTo, "kind", memory.resetTo.kind);
    number(resetTo, "value", memory.resetTo.value);
    number(resetTo, "fsVersion", memory.resetTo.fsVersion);
    const json& counters = object(state, "counters");
    number(counters, "cycles", memory.counters.cycles);
    number(counters, "washes", memory.counters.washes);
    TimedPumps timed{};
    for (std::size_t pump = 0; pump < kPumps; ++pump) {
        timed[pump] = memory.calibration[pump].volume == 0;
    }
    applyUsage(state, memory.usage, timed);
}

}  // namespace qelto::sim
