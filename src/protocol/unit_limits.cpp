#include "protocol/unit_limits.h"

#include <string>

namespace qelto::protocol {

std::vector<Difference> valuesBeyondTheUnit(const model::CProgData& config) {
    std::vector<Difference> found;
    const auto add = [&](const char* field, int program, int trigger, int pump,
                         std::uint32_t value) {
        found.push_back({field, program, trigger, pump,
                         "at most " + std::to_string(kLargestUnitValue), std::to_string(value)});
    };
    for (std::size_t k = 0; k < model::kPumps; ++k) {
        if (config.pumpCalibration[k] > kLargestUnitValue) {
            add("pump calibration", -1, -1, static_cast<int>(k + 1), config.pumpCalibration[k]);
        }
    }
    for (std::size_t p = 0; p < model::kPrograms; ++p) {
        for (std::size_t t = 0; t < model::kTriggers; ++t) {
            for (std::size_t k = 0; k < model::kPumps; ++k) {
                const std::uint32_t dose = config.programs[p][t][k].dose;
                if (config.pumpEnabled[p][t][k] != 0 && config.pumpCalibration[k] != 0 &&
                    dose > kLargestUnitValue) {
                    add("dose", static_cast<int>(p + 1), static_cast<int>(t + 1),
                        static_cast<int>(k + 1), dose);
                }
            }
        }
    }
    return found;
}

}  // namespace qelto::protocol
