#include "model/unit_types.h"

#include <array>

namespace qelto::model {
namespace {

constexpr std::array<UnitModel, kUnitModelCount> kModels{{
    {"L1", 1, 0},
    {"L2", 2, 0},
    {"L3", 3, 0},
    {"L4", 4, 0},
    {"L5", 5, 0},
    {"L6", 6, 0},
    {"L7", 7, 0},
    {"L8", 8, 0},
    {"L9", 9, 0},
    {"L10", 10, 0},
}};

}  // namespace

const UnitModel* findUnitModel(std::uint32_t code) {
    return code < kModels.size() ? &kModels[code] : nullptr;
}

std::string unitModelName(std::uint32_t code) {
    const UnitModel* model = findUnitModel(code);
    return model != nullptr ? std::string(model->modelName) : std::to_string(code);
}

std::uint8_t unitPumpCount(std::uint32_t code) {
    const UnitModel* model = findUnitModel(code);
    return model != nullptr ? model->modelPumps : std::uint8_t{10};
}

std::uint8_t OldTypeToNewType(std::uint8_t code) {
    // The old numbering had the six-to-eleven range where 10..15 now are.
    if (code >= 6 && code <= 11) {
        return static_cast<std::uint8_t>(code + 4);
    }
    if (code >= 29) {
        return 255;
    }
    return code;
}

}  // namespace qelto::model
