// A legacy unit's memory to and from the JSON shape of sim_state.h.
#include "sim/json_fields.h"
#include "sim/sim_state.h"

namespace qelto::sim {

using nlohmann::json;
using namespace json_fields;

namespace {

json pair(const MinSecPair& p) {
    return json::array({p[0], p[1]});
}

json configToJson(const LegacyLaundryConfig& c) {
    return {{"customerLines", utf8Texts(c.customerLines)},
            {"unitType", c.unitType},
            {"spareText", c.spareText},
            {"pumpSpeed", c.pumpSpeed},
            {"accessCode", c.accessCode},
            {"pulseCount", c.pulseCount},
            {"resetDelay", c.resetDelay},
            {"flushValveTime", c.flushValveTime},
            {"auxTime", c.auxTime},
            {"runTime", pair(c.runTime)},
            {"delayTime", pair(c.delayTime)},
            {"resetDelayOff", c.resetDelayOff},
            {"byte64", c.byte64},
            {"pins", c.pins},
            {"auxByte", c.auxByte}};
}

void applyConfig(const json& j, LegacyLaundryConfig& c) {
    texts(j, "customerLines", c.customerLines, kLegacyCustomerLineSize);
    number(j, "unitType", c.unitType);
    numbers(j, "spareText", c.spareText);
    number(j, "pumpSpeed", c.pumpSpeed);
    number(j, "accessCode", c.accessCode);
    number(j, "pulseCount", c.pulseCount);
    number(j, "resetDelay", c.resetDelay);
    number(j, "flushValveTime", c.flushValveTime);
    number(j, "auxTime", c.auxTime);
    numbers(j, "runTime", c.runTime);
    numbers(j, "delayTime", c.delayTime);
    number(j, "resetDelayOff", c.resetDelayOff);
    number(j, "byte64", c.byte64);
    numbers(j, "pins", c.pins);
    number(j, "auxByte", c.auxByte);
}

json dishwashToJson(const DishwashSettings& d) {
    json pumps = json::array();
    for (const DishwashPump& p : d.pumps) {
        pumps.push_back({{"speed", p.speed},
                         {"run", pair(p.run)},
                         {"off", pair(p.off)},
                         {"pulse", p.pulse},
                         {"flow", p.flow}});
    }
    json outputs = json::array();
    for (const DishwashOutput& o : d.outputs) {
        outputs.push_back(
            {{"percent", o.percent}, {"time", pair(o.time)}, {"duration", pair(o.duration)}});
    }
    return {{"customerLines", utf8Texts(d.customerLines)},
            {"pins", d.pins},
            {"typeByte", d.typeByte},
            {"modeByte", d.modeByte},
            {"icMode", d.icMode},
            {"icRun", pair(d.icRun)},
            {"icPulse", d.icPulse},
            {"icDelay", pair(d.icDelay)},
            {"ic2Mode", d.ic2Mode},
            {"ic2Run", pair(d.ic2Run)},
            {"ic2Pulse", d.ic2Pulse},
            {"ic2Delay", pair(d.ic2Delay)},
            {"probeMode", d.probeMode},
            {"probeInitialDelay", pair(d.probeInitialDelay)},
            {"probeConcentration", d.probeConcentration},
            {"probeAlarmDelay", pair(d.probeAlarmDelay)},
            {"probeAlarmOff", d.probeAlarmOff},
            {"numPumps", d.numPumps},
            {"pumps", pumps},
            {"ioCheckbox", d.ioCheckbox},
            {"outputs", outputs},
            {"propRunning", d.propRunning},
            {"propTo", d.propTo},
            {"spare", d.spare}};
}

void applyDishwash(const json& j, DishwashSettings& d) {
    texts(j, "customerLines", d.customerLines, kLegacyCustomerLineSize);
    numbers(j, "pins", d.pins);
    number(j, "typeByte", d.typeByte);
    number(j, "modeByte", d.modeByte);
    number(j, "icMode", d.icMode);
    numbers(j, "icRun", d.icRun);
    number(j, "icPulse", d.icPulse);
    numbers(j, "icDelay", d.icDelay);
    number(j, "ic2Mode", d.ic2Mode);
    numbers(j, "ic2Run", d.ic2Run);
    number(j, "ic2Pulse", d.ic2Pulse);
    numbers(j, "ic2Delay", d.ic2Delay);
    number(j, "probeMode", d.probeMode);
    numbers(j, "probeInitialDelay", d.probeInitialDelay);
    number(j, "probeConcentration", d.probeConcentration);
    numbers(j, "probeAlarmDelay", d.probeAlarmDelay);
    number(j, "probeAlarmOff", d.probeAlarmOff);
    number(j, "numPumps", d.numPumps);
    if (const json* pumps = array(j, "pumps", d.pumps.size())) {
        for (std::size_t i = 0; i < pumps->size(); ++i) {
            const json& p = pumps->at(i);
            number(p, "speed", d.pumps[i].speed);
            numbers(p, "run", d.pumps[i].run);
            numbers(p, "off", d.pumps[i].off);
            number(p, "pulse", d.pumps[i].pulse);
            numbers(p, "flow", d.pumps[i].flow);
        }
    }
    number(j, "ioCheckbox", d.ioCheckbox);
    if (const json* outputs = array(j, "outputs", d.outputs.size())) {
        for (std::size_t i = 0; i < outputs->size(); ++i) {
            const json& o = outputs->at(i);
            number(o, "percent", d.outputs[i].percent);
            numbers(o, "time", d.outputs[i].time);
            numbers(o, "duration", d.outputs[i].duration);
        }
    }
    number(j, "propRunning", d.propRunning);
    number(j, "propTo", d.propTo);
    numbers(j, "spare", d.spare);
}

json usageToJson(const LaundryUsage& u) {
    json pumps = json::array();
    for (const LegacyPumpUsage& p : u.pumps) {
        pumps.push_back({{"hours", p.hours},
                         {"minutes", p.minutes},
                         {"seconds", p.seconds},
                         {"flow", p.flow},
                         {"calibrated", p.calibrated},
                         {"cycles", p.cycles}});
    }
    json programs = json::array();
    for (const LegacyProgramUsage& p : u.programs) {
        programs.push_back({{"used", p.used}, {"time", p.time}, {"cycles", p.cycles}});
    }
    return {{"pumpCount", u.pumpCount},
            {"totalCycles", u.totalCycles},
            {"pumps", pumps},
            {"programs", programs}};
}

void applyUsage(const json& j, LaundryUsage& u) {
    number(j, "pumpCount", u.pumpCount);
    number(j, "totalCycles", u.totalCycles);
    if (const json* pumps = array(j, "pumps", u.pumps.size())) {
        for (std::size_t i = 0; i < pumps->size(); ++i) {
            const json& p = pumps->at(i);
            number(p, "hours", u.pumps[i].hours);
            number(p, "minutes", u.pumps[i].minutes);
            number(p, "seconds", u.pumps[i].seconds);
            number(p, "flow", u.pumps[i].flow);
            numbers(p, "calibrated", u.pumps[i].calibrated);
            number(p, "cycles", u.pumps[i].cycles);
        }
    }
    if (const json* programs = array(j, "programs", u.programs.size())) {
        for (std::size_t i = 0; i < programs->size(); ++i) {
            const json& p = programs->at(i);
            if (p.contains("used")) {
                if (!p.at("used").is_boolean()) {
                    throw StateError("used must be true or false");
                }
                u.programs[i].used = p.at("used").get<bool>();
            }
            if (const json* times = array(p, "time", u.programs[i].time.size())) {
                for (std::size_t k = 0; k < times->size(); ++k) {
                    numbers(json{{"time", times->at(k)}}, "time", u.programs[i].time[k]);
                }
            }
            numbers(p, "cycles", u.programs[i].cycles);
        }
    }
}

}  // namespace

json legacyStateToJson(const LegacyMemory& memory) {
    json state{
        {"kind", memory.kind == LegacyKind::Laundry ? "legacy-laundry" : "legacy-dishwash"},
        {"version", memory.version ? json(versionText(*memory.version)) : json()},
        {"password", memory.password},
        {"programNames", utf8Texts(memory.programNames)},
        {"comments", platform::latin1ToUtf8(memory.comments)},
        {"spareByte", memory.spareByte},
        {"thirdCommandCount", memory.thirdCommandCount},
        {"dumpText", platform::latin1ToUtf8(memory.dumpText)},
    };
    if (memory.kind == LegacyKind::Laundry) {
        state["config"] = configToJson(memory.config);
        state["usage"] = usageToJson(memory.usage);
    } else {
        state["signOnType"] = memory.signOnType;
        state["dishwash"] = dishwashToJson(memory.dishwash);
    }
    return state;
}

void applyLegacyState(const json& state, LegacyMemory& memory) {
    if (!state.is_object()) {
        throw StateError("the state must be a JSON object");
    }
    if (state.contains("version")) {
        const json& v = state.at("version");
        std::array<char, 3> chars{};
        if (v.is_null() || v == "none") {
            memory.version.reset();
        } else if (v.is_string() && parseVersion(v.get<std::string>(), chars)) {
            memory.version = chars;
        } else {
            throw StateError("version must be null or look like \"1.1.0\"");
        }
    }
    number(state, "password", memory.password);
    texts(state, "programNames", memory.programNames, kLegacyProgramNameLength);
    text(state, "comments", memory.comments, kLegacyCommentsMax);
    number(state, "spareByte", memory.spareByte);
    number(state, "signOnType", memory.signOnType);
    text(state, "dumpText", memory.dumpText, kLegacyDumpTextMax);
    applyConfig(object(state, "config"), memory.config);
    applyUsage(object(state, "usage"), memory.usage);
    applyDishwash(object(state, "dishwash"), memory.dishwash);
}

}  // namespace qelto::sim
