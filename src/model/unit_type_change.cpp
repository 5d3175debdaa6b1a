#include "model/unit_type_change.h"

#include "model/unit_types.h"

namespace qelto::model {

UnitTypeControls UnitTypeRules::apply(CQeltoDoc& doc, std::uint8_t code, bool chosenByUser) {
    CProgData& config = doc.config();
    config.unitType = code;
    // Codes without a model row (older files, legacy units) count as ten pumps, never locked.
    const std::uint32_t pumpCount = unitPumpCount(code);
    const UnitModel* model = findUnitModel(code);
    const bool locked = model != nullptr && model->pumpsLocked != 0;
    doc.setPumpCount(pumpCount);
    doc.setTriggerCount(tenTriggerMode_ || pumpCount > 6 ? 10 : 6);

    if (chosenByUser) {
        const std::uint8_t speed = code > 9 ? std::uint8_t{100} : config.defaultPumpSpeed();
        config.pumpSpeed.fill(speed);
    }

    UnitTypeControls controls;
    const bool allRanges = tenTriggerMode_ || pumpCount >= 7;
    for (std::size_t i = 0; i < kPumps; ++i) {
        controls.pumps[i].enabled = i < pumpCount && !locked;
        controls.pumps[i].allSpeedRanges = allRanges;
        // A pump the model does not have runs at the full range, as the unit expects.
        if (i >= pumpCount) {
            config.pumpSpeedRange[i] = 3;
        }
    }
    // Every model shows all ten triggers once its controls are refreshed.
    doc.setTriggerCount(10);

    if (pumpCount > 6) {
        tenTriggerMode_ = true;
    }
    controls.tenTriggerMode = tenTriggerMode_;
    return controls;
}

}  // namespace qelto::model
