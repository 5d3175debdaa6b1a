// What choosing a controller model does to the configuration and to the pump controls an editor
// shows: the pump and trigger counts, the default pump speeds, which pumps can be edited and
// which speed ranges each pump offers. Kept apart from the widgets so the rules are the same for
// every editor and can be checked without one.
#pragma once

#include <array>
#include <cstdint>

#include "model/prog_data.h"
#include "model/qelto_doc.h"

namespace qelto::model {

struct PumpControlState {
    bool enabled = false;         // the pump's controls can be edited
    bool allSpeedRanges = false;  // offers ranges 0..3; otherwise only 0 and 3
};

struct UnitTypeControls {
    std::array<PumpControlState, kPumps> pumps{};
    bool tenTriggerMode = false;
};

// One editor's memory of the rules: once a model with more than six pumps has been chosen the
// editor stays in ten-trigger mode for the rest of its life.
class UnitTypeRules {
  public:
    // Applies unit type `code` to the document. `chosenByUser` is true when the engineer picked
    // the model (the default pump speeds are then written into every pump) and false when an
    // editor only re-applies the stored type, e.g. after a document was opened.
    UnitTypeControls apply(CQeltoDoc& doc, std::uint8_t code, bool chosenByUser);

    bool tenTriggerMode() const { return tenTriggerMode_; }

  private:
    bool tenTriggerMode_ = false;
};

}  // namespace qelto::model
