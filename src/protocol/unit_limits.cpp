#include "protocol/unit_limits.h"

#include <string>

#include "model/config_fields.h"

namespace qelto::protocol {
namespace {

// "pumpCalibration" -> "pump calibration".
std::string readableName(std::string_view name) {
    std::string out;
    for (const char c : name) {
        if (c >= 'A' && c <= 'Z') {
            out += out.empty() ? "" : " ";
            out += static_cast<char>(c - 'A' + 'a');
        } else {
            out += c;
        }
    }
    return out;
}

// A unit doses by a step's volume only for an enabled pump that has a calibration; anywhere else
// the dose is never used.
bool usedByTheUnit(const model::FieldInfo& field, const model::CProgData& config,
                   const model::FieldPosition& at) {
    return field.scope != model::FieldScope::Step ||
           (config.pumpEnabled[at.program][at.trigger][at.pump] != 0 &&
            config.pumpCalibration[at.pump] != 0);
}

int numbered(std::optional<unsigned> number) {
    return number ? static_cast<int>(*number) : -1;
}

}  // namespace

std::vector<Difference> valuesBeyondTheUnit(const model::CProgData& config) {
    std::vector<Difference> found;
    model::forEachSetting([&](const model::FieldInfo& field, const model::FieldPosition& at) {
        if (!field.unitMax || !usedByTheUnit(field, config, at)) {
            return;
        }
        const std::uint32_t value = field.read(config, at).number;
        if (value > *field.unitMax) {
            const model::FieldPlace place = model::placeOf(field.scope, at);
            found.push_back({readableName(field.name), numbered(place.program),
                             numbered(place.trigger), numbered(place.pump),
                             "at most " + std::to_string(*field.unitMax), std::to_string(value)});
        }
    });
    return found;
}

}  // namespace qelto::protocol
