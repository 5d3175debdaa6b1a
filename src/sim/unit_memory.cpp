#include "sim/unit_memory.h"

#include <algorithm>

namespace qelto::sim {

std::uint8_t erasedTriggerSetting(const Identity& identity) {
    const auto digit = [&](std::size_t i) { return identity.version.at(i) - '0'; };
    const bool from205 = digit(0) > 2 || (digit(0) == 2 && digit(1) > 0) ||
                         (digit(0) == 2 && digit(1) == 0 && digit(2) > 4);
    return from205 ? 1 : 0;
}

LaundryMemory factoryMemory(const Identity& identity, std::uint16_t accessPin) {
    LaundryMemory memory;
    memory.identity = identity;
    memory.accessPin = accessPin;
    eraseSettingsMemory(memory);
    return memory;
}

void eraseProgramData(LaundryMemory& memory) {
    TriggerData erased;
    erased.setting = erasedTriggerSetting(memory.identity);
    for (auto& program : memory.programs) {
        program.fill(erased);
    }
}

void eraseNames(LaundryMemory& memory) {
    memory.programNames.fill({});
    memory.pumpNames.fill({});
    memory.comments.clear();
}

void eraseSettingsMemory(LaundryMemory& memory) {
    const std::uint8_t unitType = memory.identity.unitType;
    memory.globals = GlobalSettings{};
    memory.calibration.fill({});
    eraseProgramData(memory);
    eraseNames(memory);
    memory.customerLines.fill({});
    memory.description.clear();
    memory.serialText.clear();
    memory.identificationText.clear();
    memory.autoFlush = AutoFlush{};
    memory.resetTo = ResetTo{};
    memory.pumpRuns.clear();
    // The model is fitted at the factory; erasing the settings does not change what it is.
    memory.identity.unitType = unitType;
}

bool triggerProgrammed(const LaundryMemory& memory, std::size_t program, std::size_t trigger) {
    const TriggerData& data = memory.programs.at(program).at(trigger);
    const bool anyEnabled = std::any_of(data.pumps.begin(), data.pumps.end(),
                                        [](const PumpStep& step) { return step.enabled != 0; });
    return anyEnabled || data.setting != erasedTriggerSetting(memory.identity);
}

}  // namespace qelto::sim
