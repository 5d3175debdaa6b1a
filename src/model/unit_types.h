// The controller models, indexed by the unit type code of a configuration.
#pragma once

#include <cstdint>
#include <string>

namespace qelto::model {

struct UnitModel {
    char modelName[10];
    std::uint8_t modelPumps;
    std::uint32_t pumpsLocked;  // nonzero: the editors disable every pump control of the model
};

inline constexpr std::uint8_t kUnitModelCount = 10;
inline constexpr std::uint8_t kDefaultUnitType = 3;

// The row of a code, or nullptr for a code without one. Codes above 9 do occur: older files and
// legacy units translate into 10..28 and 255, so every lookup goes through here.
const UnitModel* findUnitModel(std::uint32_t code);

// The model name of a code, or the code itself as decimal text when the table has no row for it.
std::string unitModelName(std::uint32_t code);

// The pump count of a code; ten (the most any unit has) when the table has no row for it.
std::uint8_t unitPumpCount(std::uint32_t code);

// Translates a unit type code of the old numbering (files of formats 1 to 3, legacy units).
std::uint8_t OldTypeToNewType(std::uint8_t code);

}  // namespace qelto::model
