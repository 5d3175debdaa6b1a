#include "sim/sim_setup.h"

#include <ctime>

#include "platform/atomic_file.h"
#include "sim/laundry_port.h"
#include "sim/legacy_unit.h"
#include "sim/sim_state.h"

namespace qelto::sim {

using nlohmann::json;

namespace {

json loadState(const std::string& file) {
    if (file.empty()) {
        return json::object();
    }
    std::string text;
    std::string error;
    if (!platform::readWholeFile(file, text, &error)) {
        throw StateError(error);
    }
    try {
        return json::parse(text);
    } catch (const json::parse_error& e) {
        throw StateError(file + " is not JSON: " + e.what());
    }
}

// The local date `days` - 1 days before now, as YYYY-MM-DD, so a history of that many days ends
// today.
std::string historyStart(std::int64_t now, unsigned days) {
    const std::time_t start =
        static_cast<std::time_t>(now) - static_cast<std::time_t>(days > 0 ? days - 1 : 0) * 86400;
    std::tm local{};
    localtime_r(&start, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

}  // namespace

bool isLegacyKind(const std::string& kind) {
    return kind == "legacy-laundry" || kind == "legacy-dishwash";
}

std::unique_ptr<LaundryPort> makeLaundryPort(const SimSetup& setup, RequestLog* log) {
    json state = loadState(setup.stateFile);
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    if (setup.pin) {
        state["pin"] = *setup.pin;
    }
    if (setup.serial) {
        state["serial"] = *setup.serial;
    }
    if (setup.unitType) {
        state["unitType"] = *setup.unitType;
    }
    if (setup.version) {
        state["version"] = *setup.version;
    }
    if (setup.noClock) {
        state["clock"] = nullptr;
    }
    if (setup.usageSeed) {
        state["usage"]["generate"] = {{"seed", *setup.usageSeed},
                                      {"days", setup.usageDays},
                                      {"first", historyStart(now, setup.usageDays)}};
    }
    LaundryMemory memory = factoryMemory(Identity{}, 1234);
    applyLaundryState(state, memory, now);
    return std::make_unique<LaundryPort>(LaundryUnit(std::move(memory)), FaultPlan(setup.faults),
                                         log);
}

std::unique_ptr<UnitPort> makeUnit(const SimSetup& setup, RequestLog* log) {
    if (!isLegacyKind(setup.kind)) {
        return makeLaundryPort(setup, log);
    }
    json state = loadState(setup.stateFile);
    LegacyMemory memory;
    memory.kind = setup.kind == "legacy-laundry" ? LegacyKind::Laundry : LegacyKind::Dishwash;
    applyLegacyState(state, memory);
    if (setup.pin) {
        memory.password = *setup.pin;
    }
    if (setup.unitType) {
        (memory.kind == LegacyKind::Laundry ? memory.config.unitType : memory.signOnType) =
            *setup.unitType;
    }
    if (setup.version) {
        applyLegacyState(json{{"version", *setup.version}}, memory);
    }
    return std::make_unique<LegacyUnit>(std::move(memory), FaultPlan(setup.faults), log);
}

}  // namespace qelto::sim
